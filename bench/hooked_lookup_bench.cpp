// The price of the panels hook: a lookup through HookedVariableLookup against a direct call of
// the simulator's own lookup, for a token the hook passes on and for one it answers from the
// state block. Both are timed in the same run; the counters give the ratio.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

#include "host/module_entry.h"
#include "navigation/autopilot_source.h"
#include "navigation/gps_info.h"
#include "navigation/nav_registry.h"
#include "navigation/panels_hook.h"
#include "navigation/navigation.h"
#include "platform/fake.h"
#include "runtime/import_table.h"
#include "runtime/address_word.h"

namespace {

// Stands for the simulator's lookup: one table read and one store.
double simulator_values[1024];
__attribute__((noinline)) uint32_t MDN_STDCALL SimulatorLookup(MdnVariableQuery* query) {
    query->value.f64 = simulator_values[static_cast<uint32_t>(query->token) & 1023];
    return 1;
}

void MDN_STDCALL DeviceActivated() {}

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

void HookedAgainstDirect(benchmark::State& state, int32_t token, bool gauge_active) {
    fake::Reset();
    host::OnLoad();
    uint32_t linkage[64] = {};
    linkage[40] = runtime::AddressWord(&SimulatorLookup);
    fake::AddExport(fake::AddModule("PANELS.DLL"), "Linkage", linkage);
    fake::Fail("WriteProcessMemory");  // the patch bytes cannot land in this program
    navigation::LinkPanels();
    const uint32_t gps =
        navigation::RegisterNavDevice(&DeviceActivated, "Flight Simulator GPS", "GPS");
    const uint32_t gauge = navigation::RegisterNavDevice(
        reinterpret_cast<MdnNavDeviceCallback>(0x1000), "Meridane GPS", "MDN");
    navigation::SelectNavDevice(gauge_active ? gauge : gps, nullptr, nullptr);
    MdnPanelsHookState& block = *navigation::GetPanelsHookState();
    navigation::ResetPanelsHookState();
    block.enable = block.full_enable = 1;
    block.value835 = 835.5;

    // Called through the pointers the simulator holds, so neither call can be inlined.
    runtime::VariableLookupFn volatile hooked =
        reinterpret_cast<runtime::VariableLookupFn>(static_cast<uintptr_t>(linkage[40]));
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
BENCHMARK_CAPTURE(HookedAgainstDirect, passed_on_token_42, 42, false);
// Token 835 answered from the state block while a gauge is the active device.
BENCHMARK_CAPTURE(HookedAgainstDirect, answered_token_835, 835, true);

}  // namespace
