// SIMTERRAIN.DLL: the record whose word 12 is the ground elevation function.
#include <windows.h>

#include <cstddef>

#include "runtime/simulator_layout.h"
#include "sim_internals.h"

namespace {

uint32_t MDN_STDCALL Elevation(double latitude, double longitude, uint32_t, double* metres,
                               uint32_t) {
    if (metres == nullptr)
        return 0;
    *metres = SimTerrainMetres(latitude, longitude);
    return 1;
}

}  // namespace

namespace terrain_dll {

struct TerrainRecord {
    uint32_t head[runtime::kElevationWord];
    runtime::ElevationFunction elevation;
    uint32_t tail[3];
};
static_assert(offsetof(TerrainRecord, elevation) == 4 * runtime::kElevationWord);

}  // namespace terrain_dll

extern "C" {
__declspec(dllexport) terrain_dll::TerrainRecord InternalsRecord = {{0x54455231u}, &Elevation, {}};
// Its size, so that fs9.exe --poke writes inside it only.
__declspec(dllexport) uint32_t InternalsRecordSize = sizeof InternalsRecord;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(instance);
    return TRUE;
}
