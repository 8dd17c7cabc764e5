// The price of the panels hook: a lookup through HookedVariableLookup against a direct call of
// the simulator's own lookup, for a token the hook passes on and for one it answers from the
// state block, with the diagnostic log off and on. Both are timed in the same run; the counters
// give the ratio.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

#include "linked_module.h"
#include "host/module_entry.h"
#include "navigation/autopilot_source.h"
#include "navigation/gps_info.h"
#include "navigation/nav_registry.h"
#include "navigation/panels_hook.h"
#include "navigation/navigation.h"
#include "platform/fake.h"
#include "runtime/import_table.h"
#include "runtime/address_word.h"
#include "runtime/diag_log.h"
#include "service/exports.h"

namespace {

using bench::DeviceActivated;

constexpr int kBatch = 1000;

template <class F>
double BatchNanoseconds(F lookup, MdnVariableQuery* query) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kBatch; ++i) {
        lookup(query);
        benchmark::DoNotOptimize(query->value.f64);
    }
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start)
        .count();
}

constexpr char kLogFolder[] = "C:\\FS9\\Meridane\\Common\\Settings";

// The diagnostic log at `level` (0: off) for the rest of the benchmark.
void StartLog(int level) {
    fake::MakeDirectory(kLogFolder);
    if (level > 0)
        runtime::StartLog(level, kLogFolder);
}

void HookedAgainstDirect(benchmark::State& state, int32_t token, bool gauge_active, int log) {
    fake::Reset();
    host::OnLoad();
    StartLog(log);
    const bench::LinkedModule module(gauge_active);

    // Called through the pointers the simulator holds, so neither call can be inlined.
    runtime::VariableLookupFn volatile hooked = module.Hooked();
    runtime::VariableLookupFn volatile direct =
        reinterpret_cast<runtime::VariableLookupFn>(navigation::SavedVariableLookup());
    MdnVariableQuery query{};
    query.token = token;
    double hooked_ns = 0, direct_ns = 0;
    for (auto _ : state) {
        hooked_ns += BatchNanoseconds(hooked, &query);
        direct_ns += BatchNanoseconds(direct, &query);
    }
    const double calls = static_cast<double>(state.iterations()) * kBatch;
    state.counters["hooked_ns"] = hooked_ns / calls;
    state.counters["direct_ns"] = direct_ns / calls;
    state.counters["ratio"] = hooked_ns / direct_ns;

    navigation::UnhookPanels();
    host::OnUnload();
    fake::Reset();
}

// Token 42 is never answered from the block: passed on with the simulator GPS active.
BENCHMARK_CAPTURE(HookedAgainstDirect, passed_on_token_42, 42, false, 0);
// Token 835 answered from the state block while a gauge is the active device.
BENCHMARK_CAPTURE(HookedAgainstDirect, answered_token_835, 835, true, 0);
// The same with the diagnostic log on at its fullest: the lookup path never logs.
BENCHMARK_CAPTURE(HookedAgainstDirect, passed_on_token_42_log_2, 42, false, 2);
BENCHMARK_CAPTURE(HookedAgainstDirect, answered_token_835_log_2, 835, true, 2);

// An operation called through the table's wrapper: off it costs a branch; at level 1 a call
// that answers without a reason writes nothing; at level 2 every call is a line in the file.
// IsNavDeviceActive holds no x87 guard (service/slot_x87.h), so the caller's control word does
// not enter this figure; bench/x87_guard_bench.cpp times the guard at 0x027F and at 0x007F.
void OperationThroughTable(benchmark::State& state, int log) {
    fake::Reset();
    host::OnLoad();
    StartLog(log);
    const uint32_t gps =
        navigation::RegisterNavDevice(&DeviceActivated, "Flight Simulator GPS", "GPS");
    navigation::SelectNavDevice(gps, nullptr, nullptr);
    MdnIsNavDeviceActiveFn volatile through_table = MdnSrv.table->IsNavDeviceActive;
    MdnIsNavDeviceActiveFn volatile direct = &navigation::IsNavDeviceActive;
    double table_ns = 0, direct_ns = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kBatch; ++i)
            benchmark::DoNotOptimize(through_table(gps));
        auto middle = std::chrono::steady_clock::now();
        for (int i = 0; i < kBatch; ++i)
            benchmark::DoNotOptimize(direct(gps));
        auto end = std::chrono::steady_clock::now();
        table_ns += std::chrono::duration<double, std::nano>(middle - start).count();
        direct_ns += std::chrono::duration<double, std::nano>(end - middle).count();
    }
    const double calls = static_cast<double>(state.iterations()) * kBatch;
    state.counters["table_ns"] = table_ns / calls;
    state.counters["direct_ns"] = direct_ns / calls;
    host::OnUnload();
    fake::Reset();
}
BENCHMARK_CAPTURE(OperationThroughTable, log_off, 0);
BENCHMARK_CAPTURE(OperationThroughTable, log_1, 1);
BENCHMARK_CAPTURE(OperationThroughTable, log_2, 2)->Iterations(200);

}  // namespace
