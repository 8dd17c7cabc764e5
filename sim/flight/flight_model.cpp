// flight.dll: the simulator's flight model. Linkage word 23 returns the flight-model object;
// a test reads back what the module's autopilot source wrote into it.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "sim_flight.h"

namespace flight {
namespace {

#pragma pack(push, 4)
struct FlightModel {
    uint32_t vtable;
    uint32_t flags;  // bit 0x10: an autopilot value was written
    uint8_t body[260];
    double autopilot_value;
    uint8_t tail[32];
};
#pragma pack(pop)
static_assert(offsetof(FlightModel, flags) == 4, "flag word offset");
static_assert(offsetof(FlightModel, autopilot_value) == 268, "autopilot value offset");

FlightModel model = {0, SIM_FLIGHT_MODEL_FLAGS, {}, 0.0, {}};
volatile LONG lookups = 0;

void* __stdcall CurrentFlightModel() {
    InterlockedIncrement(&lookups);
    return &model;
}

}  // namespace
}  // namespace flight

extern "C" {
__declspec(dllexport) uintptr_t Linkage[SIM_FLIGHT_LINKAGE_WORDS] = {};
// Its size, so that fs9.exe --poke writes inside it only.
__declspec(dllexport) uint32_t LinkageSize = sizeof Linkage;

__declspec(dllexport) void __stdcall SimFlightModelGetState(SimFlightModelState* out) {
    if (out == nullptr)
        return;
    const volatile flight::FlightModel& m = flight::model;
    out->flags = m.flags;
    out->autopilot_value = m.autopilot_value;
    out->lookups = static_cast<uint32_t>(flight::lookups);
    out->object = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&flight::model));
}
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        Linkage[SIM_FLIGHT_MODEL_WORD] = reinterpret_cast<uintptr_t>(&flight::CurrentFlightModel);
    }
    return TRUE;
}
