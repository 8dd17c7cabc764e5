// SIMGEO.DLL: the record whose word 6 is the position-angle function.
#include <windows.h>

#include <cmath>
#include <cstddef>

#include "runtime/simulator_layout.h"
#include "sim_internals.h"

namespace {

using runtime::SimulatorPosition;

int32_t MDN_STDCALL PositionAngle(const SimulatorPosition* position) {
    const double latitude = static_cast<int32_t>(position->latitude) / 111130.55555555556;
    const double longitude = static_cast<int32_t>(position->longitude) / 11930464.711111112;
    const double units = SimGeoAngleDegrees(latitude, longitude) / 360.0 * 4294967296.0;
    return static_cast<int32_t>(static_cast<int64_t>(std::llround(units)));
}

}  // namespace

namespace geo_dll {

struct GeoRecord {
    uint32_t head[runtime::kPositionAngleWord];
    runtime::PositionAngleFunction position_angle;
    uint32_t tail[1];
};
static_assert(offsetof(GeoRecord, position_angle) == 4 * runtime::kPositionAngleWord);

}  // namespace geo_dll

extern "C" {
__declspec(dllexport) geo_dll::GeoRecord InternalsRecord = {{0x47454F31u}, &PositionAngle, {}};
// Its size, so that fs9.exe --poke writes inside it only.
__declspec(dllexport) uint32_t InternalsRecordSize = sizeof InternalsRecord;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(instance);
    return TRUE;
}
