// SIMCORE.DLL: a record the module only locates and counts.
#include <windows.h>

#include <cstdint>

extern "C" {
__declspec(dllexport) uint32_t InternalsRecord[4] = {0x434F5245u};
// Its size, so that fs9.exe --poke writes inside it only.
__declspec(dllexport) uint32_t InternalsRecordSize = sizeof InternalsRecord;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(instance);
    return TRUE;
}
