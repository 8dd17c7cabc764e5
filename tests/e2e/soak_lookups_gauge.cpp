// A million hooked variable lookups from several threads at once, while this gauge, the
// active navigation device, rewrites the panels-hook state block on the simulator's thread.
// The worker threads call through the panels function table's entry 40, as the simulator's
// own threads do. Every answer must be a value the gauge wrote, whole (never half of one
// write and half of another), or the simulator's own answer for the tokens the block leaves
// to it; 66036 is always the GPS record. Custom tokens come from two range handlers, one for
// each half, while the simulator's thread removes and registers handlers that decline before
// and after them (moving the array at times): a lookup made while its handler stayed
// registered must be answered by it.
// Settings: threads (default 4), lookups (default 1000000 in all).
#include <array>
#include <cstdlib>
#include <utility>

#include "sim_panels.h"
#include "soak_support.h"

namespace {

using Lookup = uint32_t(MDN_STDCALL*)(MdnVariableQuery*);

const MdnOperationTable* ops = nullptr;
MdnPanelsHookState* block = nullptr;
void* const* panels_table = nullptr;
uint32_t gps_record = 0;

// The block's 64-bit fields and the tokens each answers. A value written in generation g has
// the high word 0x3FF00000 | (g & 0xFFFFF) (a number from 1 to 2) and a low word made from g
// and the field, so a value torn between two writes does not check out.
struct Field {
    size_t offset;
    int32_t tokens[2];
};
const Field kFields[] = {
    {offsetof(MdnPanelsHookState, value40), {40, 826}},
    {offsetof(MdnPanelsHookState, value41), {41, 0}},
    {offsetof(MdnPanelsHookState, value44), {44, 0}},
    {offsetof(MdnPanelsHookState, value835), {835, 0}},
    {offsetof(MdnPanelsHookState, value836), {836, 0}},
    {offsetof(MdnPanelsHookState, value837), {837, 0}},
    {offsetof(MdnPanelsHookState, value838), {838, 0}},
    {offsetof(MdnPanelsHookState, value846), {846, 0}},
    {offsetof(MdnPanelsHookState, value847), {847, 0}},
    {offsetof(MdnPanelsHookState, value849), {849, 0}},
    {offsetof(MdnPanelsHookState, value850), {850, 0}},
    {offsetof(MdnPanelsHookState, value853), {853, 0}},
    {offsetof(MdnPanelsHookState, value856), {856, 550}},
    {offsetof(MdnPanelsHookState, value859), {859, 0}},
    {offsetof(MdnPanelsHookState, value860), {860, 0}},
    {offsetof(MdnPanelsHookState, value794), {794, 0}},
    {offsetof(MdnPanelsHookState, value793), {793, 0}},
};
constexpr int kFieldCount = sizeof kFields / sizeof kFields[0];

uint32_t LowWord(uint32_t generation, int field) {
    return (generation & 0xFFFFF) * 2654435761u ^ (static_cast<uint32_t>(field) + 1) * 40503u;
}

uint64_t Bits(uint32_t generation, int field) {
    return static_cast<uint64_t>(0x3FF00000u | (generation & 0xFFFFF)) << 32 |
           LowWord(generation, field);
}

void WriteGeneration(uint32_t generation) {
    for (int f = 0; f < kFieldCount; ++f) {
        const uint64_t bits = Bits(generation, f);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        // One 64-bit store, as a gauge's compiler makes for a double.
        *reinterpret_cast<volatile double*>(reinterpret_cast<char*>(block) + kFields[f].offset) =
            value;
    }
    block->value43 = generation;
    block->value831 = generation ^ 0x55555555u;
}

bool WholeWrite(double value, int field) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const uint32_t high = static_cast<uint32_t>(bits >> 32);
    return (high & 0xFFF00000u) == 0x3FF00000u &&
           static_cast<uint32_t>(bits) == LowWord(high & 0xFFFFF, field);
}

template <int N>
uint32_t MDN_STDCALL CustomTokens(MdnVariableQuery* query) {
    query->value.f64 = query->token - 70000.0;
    return 1;
}
template <int N>
uint32_t MDN_STDCALL Declining(MdnVariableQuery*) {
    return 0;
}
template <int... N>
constexpr std::array<MdnRangeHandler, sizeof...(N)> Decliners(std::integer_sequence<int, N...>) {
    return {&Declining<N>...};
}
constexpr auto kDecliners = Decliners(std::make_integer_sequence<int, 24>());
constexpr MdnRangeHandler kAnswerers[2] = {&CustomTokens<0>, &CustomTokens<1>};
volatile LONG answerer_away[2] = {0, 0};  // odd while that answerer is registered again

uint32_t HandleOf(MdnRangeHandler handler) {
    return ~static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handler));
}
void RegisterAnswerer(uint32_t which) {
    ops->RegisterRangeHandler(kAnswerers[which], which ? 70500 : 70000, which ? 70999 : 70499);
}

// One step of the simulator's thread: a decliner goes and comes back behind the others; every
// fourth step an answerer does so as well, every 64th the array grows by 16 and shrinks.
void ChurnHandlers(uint32_t step) {
    const MdnRangeHandler moved = kDecliners[step % 8];
    ops->UnregisterRangeHandler(HandleOf(moved));
    ops->RegisterRangeHandler(moved, 65536, 80000);
    if (step % 4 == 3) {
        const uint32_t which = step / 4 % 2;
        InterlockedIncrement(&answerer_away[which]);
        ops->UnregisterRangeHandler(HandleOf(kAnswerers[which]));
        RegisterAnswerer(which);
        InterlockedIncrement(&answerer_away[which]);
    }
    if (step % 64 == 63) {
        for (int i = 8; i < 24; ++i)
            ops->RegisterRangeHandler(kDecliners[i], 65536, 80000);
        for (int i = 8; i < 24; ++i)
            ops->UnregisterRangeHandler(HandleOf(kDecliners[i]));
    }
}

struct Worker {
    uint32_t lookups = 0;
    uint32_t from_block = 0, torn = 0;
    uint32_t integers = 0, integers_wrong = 0;
    uint32_t custom = 0, custom_wrong = 0;
    uint32_t unhandled = 0, unhandled_wrong = 0;
    uint32_t gps = 0, gps_wrong = 0;
    uint32_t simulator = 0;
    HANDLE thread = nullptr;
};

volatile LONG finished = 0;

DWORD WINAPI Work(void* argument) {
    Worker& w = *static_cast<Worker*>(argument);
    uint32_t state = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(argument)) | 1;
    for (uint32_t i = 0; i < w.lookups; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        MdnVariableQuery query{};
        const uint32_t pick = state % 100;
        int field = -1;
        if (pick < 60) {
            field = static_cast<int>(state / 100 % kFieldCount);
            const int32_t* tokens = kFields[field].tokens;
            query.token = tokens[1] != 0 && (state & 0x10000) ? tokens[1] : tokens[0];
        } else if (pick < 70) {
            query.token = (state & 0x20000) ? 43 : 831;
        } else if (pick < 80) {
            query.token = 70000 + static_cast<int32_t>(state / 100 % 1000);
        } else if (pick < 83) {
            query.token = 90000;  // no handler covers it
        } else if (pick < 86) {
            query.token = MDN_TOKEN_GPS_INFO;
        } else {
            query.token = 60 + static_cast<int32_t>(state / 100 % 20);  // the simulator's
        }
        const LONG* away = const_cast<const LONG*>(&answerer_away[query.token >= 70500]);
        const LONG away_before = InterlockedCompareExchange(const_cast<LONG*>(away), 0, 0);
        // Read the entry each time, as the simulator's code does.
        const auto lookup =
            reinterpret_cast<Lookup>(reinterpret_cast<void* const volatile*>(panels_table)[40]);
        lookup(&query);
        if (field >= 0) {
            ++w.from_block;
            w.torn += !WholeWrite(query.value.f64, field);
        } else if (query.token == 43 || query.token == 831) {
            ++w.integers;  // any generation's word: a single 32-bit store
        } else if (query.token >= 70000 && query.token < 71000) {
            ++w.custom;
            const bool kept =
                away_before % 2 == 0 &&
                InterlockedCompareExchange(const_cast<LONG*>(away), 0, 0) == away_before;
            w.custom_wrong += kept && query.value.f64 != query.token - 70000.0;
        } else if (query.token == 90000) {
            ++w.unhandled;
            w.unhandled_wrong += query.value.f64 != 0.0;
        } else if (query.token == static_cast<int32_t>(MDN_TOKEN_GPS_INFO)) {
            ++w.gps;
            w.gps_wrong += query.value.u32 != gps_record;
        } else {
            ++w.simulator;
        }
        if (i % 4096 == 4095)
            SwitchToThread();  // two cores: the writer gets its turns between the lookups
    }
    InterlockedIncrement(&finished);
    return 0;
}

void MDN_STDCALL OnActive() {}

uint32_t SettingNumber(const SimDriver* d, const char* key, uint32_t fallback) {
    const char* text = d->Setting(key);
    return text ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : fallback;
}

}  // namespace

SIM_GAUGE_ENTRY {
    ops = soak::Operations(static_cast<HMODULE>(driver->module));
    if (ops == nullptr)
        return driver->Check(0, "operation table", "found", "missing"), 0;
    SimCheckU32(driver, "linked (panels hook installed)", 1, driver->PumpUntilTicks(1, 4000));
    panels_table = driver->PanelsTable();
    const auto stats = reinterpret_cast<SimPanelsGetStatsFn>(
        driver->StandInExport("PANELS.DLL", "SimPanelsGetStats"));
    if (panels_table == nullptr || stats == nullptr)
        return driver->Check(0, "panels table and statistics", "found", "missing"), 0;

    const uint32_t device = ops->RegisterNavDevice(&OnActive, "Soak Lookups", "SOAKL");
    SimCheckU32(driver, "gauge device selected", 1, ops->SelectNavDevice(device, nullptr, nullptr));
    ops->ServiceQuery(MDN_QUERY_GPS_INFO, &gps_record);
    for (int i = 0; i < 8; ++i)
        ops->RegisterRangeHandler(kDecliners[i], 65536, 80000);
    RegisterAnswerer(0);
    RegisterAnswerer(1);
    block = ops->GetPanelsHookState();
    WriteGeneration(0);
    block->valid793 = block->valid794 = 1;
    block->full_enable = 1;
    block->enable = 1;
    SimLogf(driver, "state block at 0x%08lX",
            static_cast<unsigned long>(reinterpret_cast<uintptr_t>(block)));

    const uint32_t thread_count = SettingNumber(driver, "threads", 4);
    const uint32_t total = SettingNumber(driver, "lookups", 1000000);
    Worker workers[16];
    const uint32_t n = thread_count < 16 ? thread_count : 16;
    SimPanelsStats stats_before{};
    stats(&stats_before);
    const uint64_t committed_before = soak::CommittedPrivateBytes();
    const uint32_t start = driver->Now();
    for (uint32_t t = 0; t < n; ++t) {
        workers[t].lookups = total / n + (t < total % n ? 1 : 0);
        workers[t].thread = CreateThread(nullptr, 0, &Work, &workers[t], 0, nullptr);
    }
    HANDLE handles[16];
    for (uint32_t t = 0; t < n; ++t)
        handles[t] = workers[t].thread;
    uint32_t generation = 0;
    while (static_cast<uint32_t>(finished) < n && driver->Now() - start < 50000) {
        WriteGeneration(++generation);
        if (generation % 16 == 0)
            ChurnHandlers(generation / 16);
        if (generation % 4096 == 0)
            driver->Pump(0);  // the simulator's thread goes on with its messages meanwhile
    }
    WaitForMultipleObjects(n, handles, TRUE, 5000);
    const uint32_t elapsed = driver->Now() - start;
    SimPanelsStats stats_after{};
    stats(&stats_after);

    Worker sum;
    for (uint32_t t = 0; t < n; ++t) {
        const Worker& w = workers[t];
        CloseHandle(w.thread);
        sum.lookups += w.lookups;
        sum.from_block += w.from_block;
        sum.torn += w.torn;
        sum.integers += w.integers;
        sum.custom += w.custom;
        sum.custom_wrong += w.custom_wrong;
        sum.unhandled += w.unhandled;
        sum.unhandled_wrong += w.unhandled_wrong;
        sum.gps += w.gps;
        sum.gps_wrong += w.gps_wrong;
        sum.simulator += w.simulator;
    }
    const uint32_t reached = stats_after.lookups - stats_before.lookups;
    SimLogf(driver,
            "lookups: %lu from %lu threads in %lu ms while the block was rewritten %lu times: "
            "%lu answered from the block (%lu torn), %lu block integers, %lu by the range "
            "handler (%lu wrong), %lu unhandled custom tokens (%lu not 0.0), %lu GPS record "
            "(%lu wrong), %lu left to the simulator (its lookup ran %lu times meanwhile)",
            static_cast<unsigned long>(sum.lookups), static_cast<unsigned long>(n),
            static_cast<unsigned long>(elapsed), static_cast<unsigned long>(generation),
            static_cast<unsigned long>(sum.from_block), static_cast<unsigned long>(sum.torn),
            static_cast<unsigned long>(sum.integers), static_cast<unsigned long>(sum.custom),
            static_cast<unsigned long>(sum.custom_wrong), static_cast<unsigned long>(sum.unhandled),
            static_cast<unsigned long>(sum.unhandled_wrong), static_cast<unsigned long>(sum.gps),
            static_cast<unsigned long>(sum.gps_wrong), static_cast<unsigned long>(sum.simulator),
            static_cast<unsigned long>(reached));

    SimLogf(driver,
            "range handlers: %lu steps of removals and registrations; committed memory "
            "%+ld KB over the run",
            static_cast<unsigned long>(generation / 16),
            static_cast<long>((static_cast<int64_t>(soak::CommittedPrivateBytes()) -
                               static_cast<int64_t>(committed_before)) /
                              1024));
    SimCheckU32(driver, "lookups made", total, sum.lookups);
    SimCheckU32(driver, "handlers removed and registered during the lookups", 1,
                generation / 16 > 1000);
    SimCheckU32(driver, "block answers torn between two writes", 0, sum.torn);
    SimCheckU32(driver, "range-handler answers wrong", 0, sum.custom_wrong);
    SimCheckU32(driver, "unhandled custom tokens not 0.0", 0, sum.unhandled_wrong);
    SimCheckU32(driver, "GPS record answers wrong", 0, sum.gps_wrong);
    SimCheckU32(driver, "the block was rewritten during the lookups", 1, generation > 1000);
    // Only the simulator's own tokens reach its lookup (other threads of the simulator may
    // add a few of their own meanwhile).
    driver->Check(reached >= sum.simulator && reached - sum.simulator < 10000,
                  "simulator lookups (only tokens the block leaves to it)", "about as many",
                  reached >= sum.simulator ? "at least as many" : "fewer");

    // Back to the simulator's GPS: the block no longer answers its tokens.
    ops->SelectNavDevice(0, "Flight Simulator GPS", nullptr);
    MdnVariableQuery query{};
    query.token = 835;
    reinterpret_cast<Lookup>(panels_table[40])(&query);
    driver->Check(!WholeWrite(query.value.f64, 3), "token 835 with the simulator's GPS active",
                  "the simulator's answer", WholeWrite(query.value.f64, 3) ? "the block's" : "ok");
    for (const MdnRangeHandler handler : kDecliners)
        ops->UnregisterRangeHandler(HandleOf(handler));
    for (const MdnRangeHandler handler : kAnswerers)
        ops->UnregisterRangeHandler(HandleOf(handler));
    ops->UnregisterNavDevice(device);
    return 0;
}
