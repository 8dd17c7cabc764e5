// The module as the benchmarks run it: linked to a stand-in panel system whose lookup reads a
// table, the hook installed over it, the simulator's GPS and a gauge's device registered, and
// the state block enabled with token 835 in it. Call after fake::Reset() and host::OnLoad().
#pragma once
#include <cstdint>

#include "mdnsrv.h"
#include "navigation/nav_registry.h"
#include "navigation/navigation.h"
#include "navigation/panels_hook.h"
#include "platform/fake.h"
#include "runtime/address_word.h"
#include "runtime/import_table.h"

namespace bench {

// Stands for the simulator's lookup: one table read and one store.
inline double simulator_values[1024];
__attribute__((noinline)) inline uint32_t MDN_STDCALL SimulatorLookup(MdnVariableQuery* query) {
    query->value.f64 = simulator_values[static_cast<uint32_t>(query->token) & 1023];
    return 1;
}

inline void MDN_STDCALL DeviceActivated() {}

struct LinkedModule {
    uint32_t linkage[64] = {};
    uint32_t gps = 0, gauge = 0;

    explicit LinkedModule(bool gauge_active) {
        linkage[40] = runtime::AddressWord(&SimulatorLookup);
        fake::AddExport(fake::AddModule("PANELS.DLL"), "Linkage", linkage);
        fake::Fail("WriteProcessMemory");  // the patch bytes cannot land in this program
        navigation::LinkPanels();
        gps = navigation::RegisterNavDevice(&DeviceActivated, "Flight Simulator GPS", "GPS");
        gauge = navigation::RegisterNavDevice(reinterpret_cast<MdnNavDeviceCallback>(0x1000),
                                              "Meridane GPS", "MDN");
        navigation::SelectNavDevice(gauge_active ? gauge : gps, nullptr, nullptr);
        MdnPanelsHookState& block = *navigation::GetPanelsHookState();
        navigation::ResetPanelsHookState();
        block.enable = block.full_enable = 1;
        block.value835 = 835.5;
    }
    // The lookup the simulator calls: the hook, through the Linkage entry it patched.
    runtime::VariableLookupFn Hooked() const {
        return reinterpret_cast<runtime::VariableLookupFn>(static_cast<uintptr_t>(linkage[40]));
    }
};

}  // namespace bench
