// GLOBAL.DLL's Linkage export: a record whose word 620 bytes in is the simulator global
// record the module's query 1500 reads.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "runtime/simulator_layout.h"
#include "sim_global.h"

namespace global_dll {

struct GlobalLinkage {
    uint32_t head[SIM_GLOBAL_RECORD_OFFSET / 4];
    uint32_t record;
    uint32_t tail[(SIM_GLOBAL_LINKAGE_SIZE - SIM_GLOBAL_RECORD_OFFSET - 4) / 4];
};
static_assert(offsetof(GlobalLinkage, record) == SIM_GLOBAL_RECORD_OFFSET, "record offset");
static_assert(SIM_GLOBAL_RECORD_OFFSET == runtime::kGlobalRecordOffset, "the module's offset");
static_assert(sizeof(GlobalLinkage) == SIM_GLOBAL_LINKAGE_SIZE, "record size");

}  // namespace global_dll

extern "C" {
__declspec(dllexport) global_dll::GlobalLinkage Linkage = {{0x01}, SIM_GLOBAL_RECORD_VALUE, {}};
// Its size, so that fs9.exe --poke writes inside it only.
__declspec(dllexport) uint32_t LinkageSize = sizeof Linkage;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(instance);
    return TRUE;
}
