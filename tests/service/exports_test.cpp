// What the simulator and a gauge read from the three exported records.
#include <gtest/gtest.h>

#include <functional>

#include "platform/fake.h"
#include "runtime/diag_log.h"
#include "runtime/x87_guard.h"
#include "service/exports.h"
#include "service/operation_entry.h"
#include "service/slot_x87.h"
#include "support/module_fixture.h"

namespace {

TEST(ExportedRecords, LinkageNamesTheModuleAndItsDoNothingFunction) {
    EXPECT_EQ(Linkage.module_id, 0x13u);
    ASSERT_NE(Linkage.init, nullptr);
    EXPECT_EQ(Linkage.init, Linkage.deinit);
    EXPECT_EQ(Linkage.flags, 0u);
    EXPECT_EQ(Linkage.priority, 0u);
    EXPECT_EQ(Linkage.module_version, 0x900u);
    EXPECT_EQ(Linkage.function_table, nullptr);
    Linkage.init();  // does nothing, removes nothing from the stack
}

TEST(ExportedRecords, ImportTableAsksForThePanelsModuleAndEndsWithZeros) {
    EXPECT_EQ(ImportTable[0].module_id, 0x0Fu);
    EXPECT_EQ(ImportTable[1].module_id, 0u);
    EXPECT_EQ(ImportTable[1].table, nullptr);
}

TEST(ExportedRecords, ServiceObjectHoldsThirtyOneOperationsThenZeroWords) {
    ASSERT_NE(MdnSrv.table, nullptr);
    const auto* words = reinterpret_cast<const uint32_t*>(MdnSrv.table);
    for (int slot = 0; slot < MDN_SLOT_COUNT; ++slot) {
        EXPECT_NE(words[slot], 0u) << "slot " << slot;
    }
    for (int i = 0; i < MDN_TABLE_RESERVED_WORDS; ++i) {
        EXPECT_EQ(words[MDN_SLOT_COUNT + i], 0u) << "word " << MDN_SLOT_COUNT + i;
    }
}

// ---- the diagnostic log's line for each call through the table ----

constexpr char kLogFolder[] = "C:\\FS9\\Meridane\\Common\\Settings";

void MDN_STDCALL KeyClient() {}
void MDN_STDCALL Device() {}
uint32_t MDN_STDCALL Handler(MdnVariableQuery*) {
    return 0;
}

std::string Hex(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", v);
    return text;
}

class CallLog : public test::AttachedModule {
  protected:
    void StartLog(int level) {
        fake::MakeDirectory(kLogFolder);
        ASSERT_TRUE(runtime::StartLog(level, kLogFolder));
    }
    std::string Log() { return fake::ReadFile(runtime::LogPath()).value_or(""); }
    const MdnOperationTable& ops = *MdnSrv.table;
};

// One refusal or silent no-op of each family, with its arguments and reason.
TEST_F(CallLog, EachRefusalIsOneLineWithArgumentsAndReason) {
    const uint32_t client = ops.RegisterKeyClient(&KeyClient);
    ops.EnableKeyClient(client);
    const uint32_t device = ops.RegisterNavDevice(&Device, "Meridane GPS", "MDN");
    StartLog(1);
    ops.AddKeyCommand(client, "CMD", 2, 112);
    ops.RegisterNavDevice(reinterpret_cast<MdnNavDeviceCallback>(0x1234), "Meridane GPS", "X");
    ops.RegisterRangeHandler(&Handler, 100, 200);
    uint32_t word = 0;
    ops.ServiceQuery(9999, &word);
    MdnTrafficRecord records[1];
    ops.GetTrafficList(records);
    ops.AcquireWorkBuffer(64, 3);
    char key_text[] = "ctrl+f1";
    ops.BindKeyCommand(client, "CMD2", key_text);
    void* held = ops.AcquireWorkBuffer(0x400, 16);
    ops.AcquireWorkBuffer(0x28000, 16);
    ops.ReleaseWorkBuffer(held);
    ops.RegisterNavDevice(&Device, std::string(64, 'N').c_str(), "N");
    ops.GetNavDeviceCount();  // no reason: no line at level 1
    const std::string log = Log();
    for (const std::string& line : {
             "call AddKeyCommand(" + Hex(client) + ", \"CMD\", 0x2, 112) = 0x0: client enabled",
             "call RegisterNavDevice(0x00001234, \"Meridane GPS\", \"X\") = 0xFFFFEDCB: did "
             "nothing: the long name is taken by device " +
                 Hex(device) + " \"Meridane GPS\"",
             std::string("tokens 100 to 200 are never offered"),
             std::string("call ServiceQuery(9999, 0x"),
             std::string(") = 0x0: unknown query id"),
             std::string("call GetTrafficList(0x"),
             std::string(") = 0x0: no module: the traffic interface could not be obtained"),
             std::string("call AcquireWorkBuffer(0x40, 0x3) = 0x00000000: no block of 64 bytes "
                         "aligned to 3"),
             "call BindKeyCommand(" + Hex(client) +
                 ", \"CMD2\", \"CTRL+F1\") = 0x0: client "
                 "enabled",
             std::string("call AcquireWorkBuffer(0x28000, 0x10) = 0x00000000: the shared buffer "
                         "holds 1024 bytes, fewer than the 163840 asked for"),
             std::string(") = 0x0: a name of 64 characters or more"),
         }) {
        EXPECT_NE(log.find(line), std::string::npos) << line << "\nnot in:\n" << log;
    }
    EXPECT_EQ(log.find("GetNavDeviceCount"), std::string::npos);
}

TEST_F(CallLog, LevelTwoGivesEveryCallItsResultAndFilledBuffers) {
    StartLog(2);
    char long_name[64], short_name[16];
    ops.GetNavDeviceInfo(0, long_name, short_name);
    ops.GetNavDeviceInfo(5, long_name, short_name);
    const std::string log = Log();
    EXPECT_NE(log.find("call GetNavDeviceInfo(0x0, \"Flight Simulator GPS\", \"GPS\") = 0x"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("call GetNavDeviceInfo(0x5, 0x"), std::string::npos) << log;
    EXPECT_NE(log.find(") = 0x0: index past the end (1 devices)"), std::string::npos) << log;
}

// ---- the x87 unit as each entry leaves it ----

// The exception flags as a caller left them; only an environment load sets a chosen few.
void SetX87Flags(uint16_t flags) {
    uint32_t environment[7];
    asm volatile("fnstenv %0" : "=m"(environment) : : "memory");
    environment[1] = (environment[1] & ~0xFFu) | flags;
    asm volatile("fldenv %0" : : "m"(environment) : "memory");
}

double computed;
// Raises the inexact flag; at 24 bits the third would come out otherwise.
uint32_t MDN_STDCALL Third(uint32_t divisor) {
    volatile double one = 1.0;
    computed = one / static_cast<double>(divisor);
    return runtime::X87ControlWord();
}
// Raises no flag at all.
uint32_t MDN_STDCALL Exact(uint32_t divisor) {
    volatile double two = 2.0;
    computed = two / static_cast<double>(divisor);
    return runtime::X87ControlWord();
}

struct CallerX87 {
    uint16_t control, status;
};

// One call through an entry from a caller with `control` and `flags`: what the work saw and
// what the caller got back. The caller's flags are cleared again before anything computes.
template <int Slot, auto Work>
CallerX87 CallFrom(uint16_t control, uint16_t flags, uint32_t* seen_control) {
    const uint16_t own = runtime::X87ControlWord();
    runtime::SetX87ControlWord(0x037F);
    SetX87Flags(flags);
    runtime::SetX87ControlWord(control);
    *seen_control = service::OperationEntry<Slot, Work>::Call(3);
    CallerX87 after{runtime::X87ControlWord(), runtime::X87StatusWord()};
    asm volatile("fnclex" : : : "memory");
    runtime::SetX87ControlWord(own);
    return after;
}

// Every caller gets back its control word and exactly its own exception flags, whether the
// work raised a flag it had, one it lacked, or none, and whether an exception it unmasked was
// already pending; the work always computes at the module's word.
TEST(OperationEntry, GuardedWorkComputesAtTheModuleWordAndGivesTheCallerItsFlagsBack) {
    runtime::SetX87ControlWord(runtime::kModuleControlWord);
    volatile double one = 1.0;
    const double third = one / 3.0;
    constexpr uint16_t kInexact = 0x20, kZeroDivide = 0x04;
    struct Caller {
        uint16_t control, flags;
    };
    for (const Caller caller : {Caller{0x027F, 0}, Caller{0x027F, kInexact}, Caller{0x007F, 0},
                                Caller{0x007F, kInexact}, Caller{0x037F, kInexact | 0x01},
                                Caller{0x027A, 0}, Caller{0x007A, kZeroDivide | kInexact}}) {
        for (const bool raises : {true, false}) {
            uint32_t seen = 0;
            computed = 0;
            const CallerX87 after =
                raises
                    ? CallFrom<MDN_SLOT_SERVICE_QUERY, &Third>(caller.control, caller.flags, &seen)
                    : CallFrom<MDN_SLOT_SERVICE_QUERY, &Exact>(caller.control, caller.flags, &seen);
            const auto where = ::testing::Message()
                               << std::hex << "caller 0x" << caller.control << " flags 0x"
                               << caller.flags << (raises ? ", inexact work" : ", exact work");
            EXPECT_EQ(seen, runtime::kModuleControlWord) << where;
            EXPECT_EQ(computed, raises ? third : 2.0 / 3.0) << where;
            EXPECT_EQ(after.control, caller.control) << where;
            EXPECT_EQ(after.status & runtime::kX87ExceptionFlags, caller.flags) << where;
        }
    }
}

TEST(OperationEntry, UnguardedWorkRunsAtTheCallersWord) {
    uint32_t seen = 0;
    const CallerX87 after = CallFrom<MDN_SLOT_GET_NAV_DEVICE_COUNT, &Exact>(0x007F, 0, &seen);
    EXPECT_EQ(seen, 0x007Fu);
    EXPECT_EQ(after.control, 0x007F);
}

// Whether `call` did x87 arithmetic whose result depends on the caller's settings. It runs at
// single precision with clean flags: every such operation rounds there and raises the inexact
// flag (or another), while moves that only load and store (64-bit integers copied through the
// x87, for one) raise none.
template <class F>
bool ComputesWithX87(F call) {
    const uint16_t own = runtime::X87ControlWord();
    const uint16_t single = 0x007F;
    asm volatile("fnclex\n\tfldcw %0" : : "m"(single) : "memory");
    call();
    const uint16_t status = runtime::X87StatusWord();
    asm volatile("fnclex" : : : "memory");
    runtime::SetX87ControlWord(own);
    return (status & runtime::kX87ExceptionFlags) != 0;
}

__attribute__((noinline)) void Computes() {
    volatile double x = 1.0;
    x = x / 3.0;
}

class UnguardedOperations : public test::AttachedModule {};

TEST_F(UnguardedOperations, NeverComputeWithTheX87) {
    // The detector itself: work that computes is caught.
    EXPECT_TRUE(ComputesWithX87(&Computes));
    EXPECT_FALSE(ComputesWithX87([] {}));

    const MdnOperationTable& ops = *MdnSrv.table;
    const uint32_t device = ops.RegisterNavDevice(&Device, "Meridane GPS", "MDN");
    char text[64] = "CTRL+SHIFT+F5";
    char long_name[64], short_name[64];
    MdnKeyBinding binding;
    uint32_t client = 0, command = 0, handler = 0;
    void* buffer = nullptr;
    struct Call {
        int slot;
        std::function<void()> run;
    };
    const Call calls[] = {
        {MDN_SLOT_REGISTER_KEY_CLIENT, [&] { client = ops.RegisterKeyClient(&KeyClient); }},
        {MDN_SLOT_ADD_KEY_COMMAND, [&] { command = ops.AddKeyCommand(client, "A", 2, 112); }},
        {MDN_SLOT_BIND_KEY_COMMAND, [&] { ops.BindKeyCommand(client, "B", text); }},
        {MDN_SLOT_ENABLE_KEY_CLIENT, [&] { ops.EnableKeyClient(client); }},
        {MDN_SLOT_FIND_KEY_COMMAND, [&] { ops.FindKeyCommand("A"); }},
        {MDN_SLOT_NEXT_KEY_EVENT, [&] { ops.NextKeyEvent(client, long_name, &binding); }},
        {MDN_SLOT_DISABLE_KEY_CLIENT, [&] { ops.DisableKeyClient(client); }},
        {MDN_SLOT_UNREGISTER_KEY_CLIENT, [&] { ops.UnregisterKeyClient(client); }},
        {MDN_SLOT_REGISTER_NAV_DEVICE, [&] { ops.RegisterNavDevice(&KeyClient, "Other", "O"); }},
        {MDN_SLOT_FIND_NAV_DEVICE, [&] { ops.FindNavDevice("Other", nullptr); }},
        {MDN_SLOT_GET_NAV_DEVICE_COUNT, [&] { ops.GetNavDeviceCount(); }},
        {MDN_SLOT_GET_NAV_DEVICE_INFO, [&] { ops.GetNavDeviceInfo(1, long_name, short_name); }},
        {MDN_SLOT_IS_NAV_DEVICE_ACTIVE, [&] { ops.IsNavDeviceActive(device); }},
        {MDN_SLOT_GET_ACTIVE_NAV_DEVICE, [&] { ops.GetActiveNavDevice(long_name, short_name); }},
        {MDN_SLOT_GET_PANELS_HOOK_STATE, [&] { ops.GetPanelsHookState(); }},
        {MDN_SLOT_REGISTER_RANGE_HANDLER,
         [&] { handler = ops.RegisterRangeHandler(&Handler, 70000, 70010); }},
        {MDN_SLOT_UNREGISTER_RANGE_HANDLER, [&] { ops.UnregisterRangeHandler(handler); }},
        {MDN_SLOT_ACQUIRE_WORK_BUFFER, [&] { buffer = ops.AcquireWorkBuffer(4096, 16); }},
        {MDN_SLOT_RELEASE_WORK_BUFFER, [&] { ops.ReleaseWorkBuffer(buffer); }},
    };
    bool named[MDN_SLOT_COUNT] = {};
    for (const Call& call : calls) {
        named[call.slot] = true;
        EXPECT_FALSE(service::SlotHoldsX87Guard(call.slot)) << "slot " << call.slot;
        EXPECT_FALSE(ComputesWithX87(call.run)) << "slot " << call.slot;
    }
    EXPECT_NE(command, 0u);
    EXPECT_NE(buffer, nullptr);
    // Every unguarded slot is exercised here.
    for (int slot = 0; slot < MDN_SLOT_COUNT; ++slot) {
        if (!service::SlotHoldsX87Guard(slot)) {
            EXPECT_TRUE(named[slot]) << "unguarded slot " << slot << " is not exercised";
        }
    }
}

// Long texts give way on a call's line: its result and its reason always survive, and every
// cut is marked.
TEST_F(CallLog, LongArgumentsGiveWaySoTheResultAndTheReasonSurvive) {
    const std::string long_name(63, '\x01'), other(63, '\x02');
    const uint32_t device = ops.RegisterNavDevice(&Device, long_name.c_str(), "S1");
    StartLog(1);
    const auto clash = reinterpret_cast<MdnNavDeviceCallback>(0x1234);
    ops.RegisterNavDevice(clash, long_name.c_str(), other.c_str());
    const std::string log = Log();
    const size_t at = log.find("call RegisterNavDevice(0x00001234, \"\\x01");
    ASSERT_NE(at, std::string::npos) << log;
    const std::string line = log.substr(at, log.find("\r\n", at) - at);
    EXPECT_LE(line.size() + 25 + 2, runtime::kLogLineSize);
    const size_t outcome =
        line.find(") = 0xFFFFEDCB: did nothing: the long name is taken by device " + Hex(device) +
                  " \"\\x01");
    ASSERT_NE(outcome, std::string::npos) << line;
    EXPECT_NE(line.rfind("... (cut)", outcome), std::string::npos) << line;  // the arguments
    EXPECT_EQ(line.substr(line.size() - 9), "... (cut)") << line;            // the reason
}

}  // namespace
