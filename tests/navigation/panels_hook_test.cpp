#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "nav_test_support.h"
#include "navigation/autopilot_source.h"
#include "navigation/gps_info.h"
#include "navigation/nav_registry.h"
#include "navigation/panels_hook.h"
#include "navigation/navigation.h"
#include "host/module_entry.h"
#include "service/exports.h"
#include "runtime/import_table.h"
#include "support/module_fixture.h"
#include "runtime/address_word.h"

namespace {

using namespace navigation;
using navtest::DeviceCallback;

constexpr double kPassedOn = -1.0;  // what the simulator's own lookup answers

std::vector<int32_t> passed_on;
uint32_t MDN_STDCALL SimulatorLookup(MdnVariableQuery* query) {
    passed_on.push_back(query->token);
    query->value.f64 = kPassedOn;
    return 7;
}

uint32_t Address(const void* p) {
    return runtime::AddressWord(p);
}

// PANELS.DLL's Linkage record, word 40 holding its lookup.
class PanelsHook : public test::FreshModule {
  protected:
    void SetUp() override {
        FreshModule::SetUp();
        passed_on.clear();
        linkage_[40] = Address(reinterpret_cast<void*>(&SimulatorLookup));
        panels_ = fake::AddModule("PANELS.DLL");
        fake::AddExport(panels_, "Linkage", linkage_);
        gps_ = RegisterNavDevice(&DeviceCallback<0>, "Flight Simulator GPS", "GPS");
        gauge_ = RegisterNavDevice(&DeviceCallback<1>, "Meridane GPS", "MDN");
        SelectNavDevice(gps_, nullptr, nullptr);
        ResetPanelsHookState();
    }
    // Installs over the test's own lookup: the patch bytes cannot land in this program's code.
    void Install() {
        fake::Fail("WriteProcessMemory");
        ASSERT_TRUE(LinkPanels());
        fake::Fail("WriteProcessMemory", false);
    }
    // A lookup as the simulator makes it, through its Linkage entry.
    MdnVariableQuery Lookup(int32_t token) {
        MdnVariableQuery query{};
        query.token = token;
        query.value.f64 = 12345.0;
        reinterpret_cast<runtime::VariableLookupFn>(static_cast<uintptr_t>(linkage_[40]))(&query);
        return query;
    }
    bool PassedOn(int32_t token) {
        passed_on.clear();
        const MdnVariableQuery q = Lookup(token);
        return passed_on == std::vector<int32_t>{token} && q.value.f64 == kPassedOn;
    }
    uint32_t linkage_[64] = {};
    HMODULE panels_ = nullptr;
    uint32_t gps_ = 0, gauge_ = 0;
    MdnPanelsHookState& block_ = *GetPanelsHookState();
};

TEST_F(PanelsHook, ResetStateIsZeroWithBothTextsFiveBlanks) {
    std::memset(&block_, 0xAB, sizeof block_);
    ResetPanelsHookState();
    EXPECT_STREQ(block_.text839, "     ");
    EXPECT_EQ(block_.text861, block_.text839);
    MdnPanelsHookState expected{};
    expected.text839 = expected.text861 = block_.text839;
    EXPECT_EQ(std::memcmp(&block_, &expected, sizeof expected), 0);
}

// Every token the block can answer, with the group it belongs to and its value.
struct BlockToken {
    int32_t token;
    char group;
    double f64;    // expected value, or
    uint32_t u32;  // expected first word when f64 is NaN
};

TEST_F(PanelsHook, EachTokenGroupAnswersOnlyUnderItsEnables) {
    Install();
    const char text839[] = "KSEA", text861[] = "VOR";
    MdnPanelsHookState& s = block_;
    s.value40 = 40.5, s.value41 = 41.5, s.value43 = 4300, s.value44 = 44.5, s.switch851 = 1;
    s.value856 = 856.5, s.value849 = 849.5, s.value850 = 850.5, s.switch852 = 1;
    s.value853 = 853.5, s.switch857 = 1, s.value859 = 859.5, s.value860 = 860.5;
    s.text861 = text861, s.value831 = 83100, s.value835 = 835.5, s.value836 = 836.5;
    s.value837 = 837.5, s.value838 = 838.5, s.text839 = text839, s.value846 = 846.5;
    s.value847 = 847.5;
    const double u = NAN;
    const std::vector<BlockToken> tokens = {
        {40, 'A', 40.5, 0},
        {41, 'A', 41.5, 0},
        {43, 'A', u, 4300},
        {44, 'A', 44.5, 0},
        {49, 'A', 256.0, 0},
        {550, 'A', 856.5, 0},
        {826, 'A', 40.5, 0},
        {849, 'B', 849.5, 0},
        {850, 'B', 850.5, 0},
        {851, 'B', 1.0, 0},
        {852, 'B', 1.0, 0},
        {853, 'B', 853.5, 0},
        {856, 'B', 856.5, 0},
        {857, 'B', 1.0, 0},
        {859, 'B', 859.5, 0},
        {860, 'B', 860.5, 0},
        {861, 'B', u, Address(text861)},
        {831, 'C', u, 83100},
        {835, 'C', 835.5, 0},
        {836, 'C', 836.5, 0},
        {837, 'C', 837.5, 0},
        {838, 'C', 838.5, 0},
        {839, 'C', u, Address(text839)},
        {846, 'C', 846.5, 0},
        {847, 'C', 847.5, 0},
        // Never answered from the block.
        {42, '-', 0, 0},
        {832, '-', 0, 0},
        {840, '-', 0, 0},
        {845, '-', 0, 0},
        {854, '-', 0, 0},
        {855, '-', 0, 0},
        {858, '-', 0, 0},
        {0, '-', 0, 0},
        {-5, '-', 0, 0},
    };
    struct Condition {
        const char* name;
        bool gauge, enable, full, vor;
        std::string groups;  // answered
    };
    for (const Condition& c : std::vector<Condition>{
             {"simulator GPS active", false, true, true, false, ""},
             {"gauge, enable 0", true, false, true, false, ""},
             {"gauge, enable", true, true, false, false, "C"},
             {"gauge, full enable", true, true, true, false, "ABC"},
             {"gauge, full enable, VOR pass-through", true, true, true, true, "BC"},
         }) {
        SelectNavDevice(c.gauge ? gauge_ : gps_, nullptr, nullptr);
        s.enable = c.enable ? 7 : 0;
        s.full_enable = c.full ? 9 : 0;
        SetVorPassThrough(c.vor);
        for (const BlockToken& t : tokens) {
            SCOPED_TRACE(std::string(c.name) + ", token " + std::to_string(t.token));
            if (c.groups.find(t.group) == std::string::npos) {
                EXPECT_TRUE(PassedOn(t.token));
                continue;
            }
            passed_on.clear();
            const MdnVariableQuery q = Lookup(t.token);
            EXPECT_TRUE(passed_on.empty());
            if (std::isnan(t.f64)) {
                EXPECT_EQ(q.value.u32, t.u32);
                EXPECT_EQ(reinterpret_cast<const uint32_t*>(&q.value)[1], 0x40C81C80u)
                    << "only the first four bytes are written";
            } else {
                EXPECT_EQ(q.value.f64, t.f64);
            }
        }
    }
}

// The hook passes the simulator's own tokens on before it looks at anything else: with every
// enable on and a gauge active, exactly the block's tokens and 793 and 794 are answered below
// the custom range, and every other token reaches the simulator's lookup.
TEST_F(PanelsHook, EveryTokenBelowTheCustomRangeIsAnsweredOnlyWhenTheBlockHoldsIt) {
    Install();
    SelectNavDevice(gauge_, nullptr, nullptr);
    block_.enable = block_.full_enable = 1;
    block_.valid793 = block_.valid794 = 1;
    SetVorPassThrough(false);
    std::vector<int32_t> answered;
    for (int32_t token = -2; token < static_cast<int32_t>(MDN_TOKEN_CUSTOM_FIRST); ++token) {
        passed_on.clear();
        Lookup(token);
        if (passed_on.empty())
            answered.push_back(token);
        else
            ASSERT_EQ(passed_on, std::vector<int32_t>{token});
    }
    EXPECT_EQ(answered, (std::vector<int32_t>{40,  41,  43,  44,  49,  550, 793, 794, 826,
                                              831, 835, 836, 837, 838, 839, 846, 847, 849,
                                              850, 851, 852, 853, 856, 857, 859, 860, 861}));
}

TEST_F(PanelsHook, SwitchWordsGiveOneOnlyForExactlyOne) {
    Install();
    SelectNavDevice(gauge_, nullptr, nullptr);
    block_.enable = block_.full_enable = 1;
    for (uint32_t word : {0u, 1u, 2u}) {
        block_.switch851 = block_.switch852 = block_.switch857 = word;
        EXPECT_EQ(Lookup(49).value.f64, word == 1 ? 256.0 : 0.0) << word;
        EXPECT_EQ(Lookup(851).value.f64, word == 1 ? 1.0 : 0.0) << word;
        EXPECT_EQ(Lookup(852).value.f64, word == 1 ? 1.0 : 0.0) << word;
        EXPECT_EQ(Lookup(857).value.f64, word == 1 ? 1.0 : 0.0) << word;
    }
}

TEST_F(PanelsHook, Tokens793And794ComeFromTheBlockWithEitherDeviceWhenValid) {
    Install();
    block_.value793 = 793.5;
    block_.value794 = 794.5;
    for (uint32_t device : {gps_, gauge_}) {
        SelectNavDevice(device, nullptr, nullptr);
        block_.valid793 = block_.valid794 = 0;
        EXPECT_TRUE(PassedOn(793));
        EXPECT_TRUE(PassedOn(794));
        block_.valid793 = block_.valid794 = 1;
        passed_on.clear();
        EXPECT_EQ(Lookup(793).value.f64, 793.5);
        EXPECT_EQ(Lookup(794).value.f64, 794.5);
        EXPECT_TRUE(passed_on.empty());
    }
}

TEST_F(PanelsHook, GpsInfoTokenGivesTheRecordAddressWithEitherDevice) {
    Install();
    for (uint32_t device : {gps_, gauge_}) {
        SelectNavDevice(device, nullptr, nullptr);
        EXPECT_EQ(Lookup(66036).value.u32, Address(GpsInfoRecord()));
    }
    EXPECT_TRUE(passed_on.empty());
}

// Range handlers: each records its call and answers with its own mark.
std::vector<int> handler_calls;
uint32_t handler_answer[3];
template <int N>
uint32_t MDN_STDCALL Handler(MdnVariableQuery* query) {
    handler_calls.push_back(N);
    query->value.f64 = 100.0 + N;
    return handler_answer[N];
}
uint32_t MDN_STDCALL SelfRemovingHandler(MdnVariableQuery*) {
    handler_calls.push_back(9);
    UnregisterRangeHandler(~Address(reinterpret_cast<void*>(&SelfRemovingHandler)));
    return 0;
}

TEST_F(PanelsHook, RangeHandlersAreOfferedInOrderUntilOneHandlesTheToken) {
    Install();
    handler_calls.clear();
    handler_answer[0] = 0, handler_answer[1] = 1, handler_answer[2] = 1;
    EXPECT_EQ(Lookup(70000).value.f64, 0.0);  // nobody covers it

    EXPECT_EQ(RegisterRangeHandler(nullptr, 0, 100000), 0u);
    const uint32_t first = RegisterRangeHandler(&Handler<0>, 65536, 70000);
    EXPECT_EQ(first, ~Address(reinterpret_cast<void*>(&Handler<0>)));
    EXPECT_EQ(RegisterRangeHandler(&Handler<0>, 80000, 90000), first);  // first range kept
    RegisterRangeHandler(&SelfRemovingHandler, 70000, 70000);
    RegisterRangeHandler(&Handler<1>, 69000, 71000);
    RegisterRangeHandler(&Handler<2>, 70000, 65536);  // first above last: never matches
    EXPECT_EQ(Lookup(70000).value.f64, 101.0);
    EXPECT_EQ(handler_calls, (std::vector<int>{0, 9, 1}));

    handler_calls.clear();
    handler_answer[1] = 0;
    EXPECT_EQ(Lookup(70000).value.f64, 0.0);  // offered to all, handled by none
    EXPECT_EQ(handler_calls, (std::vector<int>{0, 1}));
    handler_calls.clear();
    EXPECT_EQ(Lookup(85000).value.f64, 0.0);
    EXPECT_TRUE(handler_calls.empty());

    EXPECT_EQ(UnregisterRangeHandler(first), 1u);
    EXPECT_EQ(UnregisterRangeHandler(first), 0u);
    handler_answer[1] = 1;
    EXPECT_EQ(Lookup(70000).value.f64, 101.0);
    EXPECT_TRUE(passed_on.empty());
}

int reregistrations = 0;
uint32_t MDN_STDCALL ReregisteringHandler(MdnVariableQuery*) {
    ++reregistrations;
    UnregisterRangeHandler(~Address(reinterpret_cast<void*>(&ReregisteringHandler)));
    RegisterRangeHandler(&ReregisteringHandler, 65536, 70000);
    return 0;
}

TEST_F(PanelsHook, AHandlerRegisteringItselfAgainIsOfferedTheTokenOnce) {
    Install();
    reregistrations = 0;
    RegisterRangeHandler(&ReregisteringHandler, 65536, 70000);
    EXPECT_EQ(Lookup(70000).value.f64, 0.0);
    EXPECT_EQ(reregistrations, 1);
    EXPECT_EQ(Lookup(70000).value.f64, 0.0);
    EXPECT_EQ(reregistrations, 2);
}

// Handlers for lookups on other threads: decliners that cover every custom token, and two
// answerers, for the lower and the upper half of the tokens 70000 to 70999.
template <int N>
uint32_t MDN_STDCALL Declining(MdnVariableQuery*) {
    return 0;
}
template <int N>
uint32_t MDN_STDCALL Answering(MdnVariableQuery* query) {
    query->value.f64 = query->token - 70000.0;
    return 1;
}
template <int... N>
std::vector<MdnRangeHandler> Handlers(std::integer_sequence<int, N...>, bool answering) {
    return {answering ? &Answering<N> : &Declining<N>...};
}
uint32_t HandleOf(MdnRangeHandler handler) {
    return ~Address(reinterpret_cast<void*>(handler));
}

// Four threads look up custom tokens while this one removes and registers handlers before
// and after the answering ones, and registers enough at times to move the array. A lookup
// made while its answerer stayed registered throughout must be answered: no record may be
// skipped, and (sanitizer build) nothing freed may be read.
TEST_F(PanelsHook, LookupsOnOtherThreadsWhileHandlersComeAndGo) {
    Install();
    const auto decliners = Handlers(std::make_integer_sequence<int, 24>(), false);
    const auto answerers = Handlers(std::make_integer_sequence<int, 2>(), true);
    for (int i = 0; i < 8; ++i)
        RegisterRangeHandler(decliners[i], 65536, 80000);
    RegisterRangeHandler(answerers[0], 70000, 70499);
    RegisterRangeHandler(answerers[1], 70500, 70999);
    std::atomic<uint32_t> away[2] = {{0}, {0}};  // odd while that answerer is re-registered
    std::atomic<bool> stop{false};
    std::atomic<uint32_t> lookups{0}, unanswered{0};
    std::vector<std::thread> readers;
    for (uint32_t t = 0; t < 4; ++t) {
        readers.emplace_back([&, t] {
            for (uint32_t state = t * 2654435761u | 1; !stop.load();) {
                state ^= state << 13, state ^= state >> 17, state ^= state << 5;
                const int32_t token = 70000 + static_cast<int32_t>(state % 1000);
                const std::atomic<uint32_t>& answerer_away = away[token >= 70500];
                const uint32_t before = answerer_away.load();
                const double value = Lookup(token).value.f64;
                const bool kept = before % 2 == 0 && answerer_away.load() == before;
                unanswered += kept && value != token - 70000.0;
                ++lookups;
            }
        });
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(800);
    uint32_t round = 0;
    for (; std::chrono::steady_clock::now() < until; ++round) {
        const MdnRangeHandler moved = decliners[round % 8];
        UnregisterRangeHandler(HandleOf(moved));
        RegisterRangeHandler(moved, 65536, 80000);
        if (round % 4 == 3) {
            const uint32_t which = round / 4 % 2;
            ++away[which];
            UnregisterRangeHandler(HandleOf(answerers[which]));
            RegisterRangeHandler(answerers[which], which ? 70500 : 70000, which ? 70999 : 70499);
            ++away[which];
        }
        if (round % 64 == 63) {
            for (int i = 8; i < 24; ++i)
                RegisterRangeHandler(decliners[i], 65536, 80000);
            for (int i = 8; i < 24; ++i)
                UnregisterRangeHandler(HandleOf(decliners[i]));
        }
    }
    stop = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_GT(lookups.load(), 10000u);
    EXPECT_GT(round, 1000u);
    EXPECT_EQ(unanswered.load(), 0u) << "of " << lookups.load() << " lookups";
}

uint32_t MDN_STDCALL QuietLookup(MdnVariableQuery* query) {
    query->value.f64 = kPassedOn;
    return 7;
}

// The module unloaded while four threads look up: custom tokens walk the range handlers and
// navigation tokens read the first device's active flag, while this thread takes the first
// device away and back, and then unloads. Nothing freed may be read (sanitizer build), and
// lookups after the unload find nothing registered.
TEST_F(PanelsHook, UnloadWhileFourThreadsLookUp) {
    linkage_[40] = Address(reinterpret_cast<void*>(&QuietLookup));  // callable from any thread
    fake::MarkAsCode(reinterpret_cast<void*>(&QuietLookup), 1);
    ASSERT_NO_FATAL_FAILURE(Install());
    block_.enable = 1;
    RegisterRangeHandler(&Answering<0>, 70000, 70999);
    std::atomic<bool> stop{false};
    std::atomic<uint32_t> lookups{0}, wrong{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&, t] {
            for (int32_t i = t; !stop.load(); ++i) {
                const double custom = Lookup(70000 + i % 1000).value.f64;
                wrong += custom != i % 1000 && custom != 0.0;  // answered, or nobody there
                Lookup(831);  // reads the first device's active flag
                ++lookups;
            }
        });
    }
    // The readers are looking up before the first removal, however slowly threads start.
    while (lookups.load() < 100)
        std::this_thread::yield();
    for (int round = 0; round < 400; ++round) {
        const bool gps_first = round % 2 == 0;
        UnregisterNavDevice(gps_first ? gps_ : gauge_);
        if (gps_first)
            gps_ = RegisterNavDevice(&DeviceCallback<0>, "Flight Simulator GPS", "GPS");
        else
            gauge_ = RegisterNavDevice(&DeviceCallback<1>, "Meridane GPS", "MDN");
    }
    const uint32_t before_unload = lookups.load();
    host::OnUnload();
    const uint32_t at_unload = lookups.load();
    while (lookups.load() < at_unload + 400)
        std::this_thread::yield();
    stop = true;
    for (std::thread& reader : readers)
        reader.join();
    host::OnLoad();
    EXPECT_GT(before_unload, 0u);
    EXPECT_EQ(wrong.load(), 0u);
}

TEST_F(PanelsHook, InstallationWritesTheSeventeenPatchBytesAndReplacesTheEntry) {
    // A stand-in for the panel module's code, ending at its lookup.
    auto code = std::make_unique<uint8_t[]>(0x31000);
    const uintptr_t lookup = reinterpret_cast<uintptr_t>(code.get()) + 0x309F0;
    linkage_[40] = static_cast<uint32_t>(lookup);
    fake::MarkAsCode(code.get(), 0x31000);
    fake::ClearCalls();
    ASSERT_TRUE(LinkPanels());
    EXPECT_EQ(linkage_[40], Address(reinterpret_cast<void*>(&HookedVariableLookup)));
    EXPECT_EQ(SavedVariableLookup(), lookup);
    EXPECT_EQ(PatchedEntry(), reinterpret_cast<uintptr_t>(&linkage_[40]));

    const uint32_t entry = Address(&linkage_[40]);
    const std::vector<std::pair<uint32_t, uint32_t>> patch = {
        {0x309E8, 0xFF},
        {0x309E9, 0x25},
        {0x309EA, entry & 0xFF},
        {0x309EB, entry >> 8 & 0xFF},
        {0x309EC, entry >> 16 & 0xFF},
        {0x309ED, entry >> 24},
        {0x1CAA, 0x3A},
        {0x1F698, 0x4C},
        {0x1F6A1, 0x43},
        {0x1F6AD, 0x37},
        {0x206BF, 0x25},
        {0x206C8, 0x1C},
        {0x20F9D, 0x47},
        {0x2161E, 0xC6},
        {0x21627, 0xBD},
        {0x21E0D, 0xD7},
        {0x22B18, 0xCC},
    };
    std::vector<std::string> expected;
    for (const auto& [offset, byte] : patch) {
        expected.push_back("WriteProcessMemory(0xFFFFFFFF, " +
                           fake::Format(fake::Hex(Address(code.get()) + offset)) + ", " +
                           fake::Format(fake::Hex(byte)) + ")");
        EXPECT_EQ(code[offset], byte) << std::hex << offset;
    }
    expected.push_back("FlushInstructionCache(0xFFFFFFFF, " +
                       fake::Format(fake::Hex(Address(code.get()) + 0x1CAA)) + ", " +
                       std::to_string(0x309EE - 0x1CAA) + ")");
    EXPECT_TRUE(
        test::SameCalls(expected, fake::CallsOf({"WriteProcessMemory", "FlushInstructionCache"})));
    // The jump leads through the entry to the hook.
    uint32_t through = 0;
    std::memcpy(&through, &code[0x309EA], 4);
    EXPECT_EQ(through, entry);

    fake::ClearCalls();
    EXPECT_TRUE(LinkPanels());  // once installed, nothing more is done
    EXPECT_TRUE(fake::Calls().empty());
}

TEST_F(PanelsHook, NoCodeAddressInTheEntryLeavesTheHookUninstalled) {
    linkage_[40] = 0xFFFF;
    EXPECT_FALSE(LinkPanels());
    EXPECT_EQ(linkage_[40], 0xFFFFu);
    EXPECT_FALSE(PanelsHookInstalled());
    EXPECT_EQ(PatchedEntry(), 0u);
    EXPECT_TRUE(fake::CallsOf("WriteProcessMemory").empty());

    fake::AddExport(panels_, "Linkage", nullptr);
    EXPECT_FALSE(LinkPanels());
    fake::RemoveModule("PANELS.DLL");
    EXPECT_FALSE(LinkPanels());
    EXPECT_FALSE(PanelsHookInstalled());
}

// Writability is asked of VirtualQuery (a probing write could swallow another thread's
// stack guard page).
TEST_F(PanelsHook, UnhookingRestoresTheSavedLookupWhenTheEntryIsWritable) {
    fake::ClearCalls();
    UnhookPanels();  // never installed: nothing is asked
    EXPECT_TRUE(fake::Calls().empty());
    Install();
    fake::ClearCalls();
    UnhookPanels();
    EXPECT_EQ(linkage_[40], Address(reinterpret_cast<void*>(&SimulatorLookup)));
    EXPECT_TRUE(test::SameCalls(
        {"VirtualQuery(" + fake::Format(fake::Hex(Address(&linkage_[40]))) + ")"}, fake::Calls()));
    EXPECT_FALSE(PanelsHookInstalled());
    EXPECT_EQ(PatchedEntry(), 0u);

    Install();
    fake::SetNotWritable(&linkage_[40], 4);
    UnhookPanels();
    EXPECT_EQ(linkage_[40], Address(reinterpret_cast<void*>(&HookedVariableLookup)));
    EXPECT_FALSE(PanelsHookInstalled());  // marked removed anyway
}

TEST_F(PanelsHook, AircraftInformationWordsComeFromThePanelsCode) {
    uint8_t code[32];
    for (int i = 0; i < 32; ++i)
        code[i] = static_cast<uint8_t>(i);
    void* table[80] = {};
    table[runtime::kPanelsCodeProbe] = code;
    ReadPanelsAddresses();  // no table yet
    EXPECT_EQ(AircraftInformationWord(0), 0u);
    ImportTable[0].table = table;
    ReadPanelsAddresses();
    EXPECT_EQ(AircraftInformationWord(0), 0x0E0D0C0Bu);  // unaligned, at byte 11
    EXPECT_EQ(AircraftInformationWord(1), 0x1B1A1918u);
    EXPECT_EQ(AircraftInformationWord(2), 0u);
    fake::Fail("ReadProcessMemory");
    ReadPanelsAddresses();
    EXPECT_EQ(AircraftInformationWord(0) | AircraftInformationWord(1), 0u);
}

}  // namespace
