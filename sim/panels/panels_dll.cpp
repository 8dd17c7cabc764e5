// PANELS.DLL's entry point: the code region exists from attach to detach.
#include <windows.h>

#include "panels_table.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        return panels::CreateCodeRegion() ? TRUE : FALSE;
    }
    if (reason == DLL_PROCESS_DETACH)
        panels::DestroyCodeRegion();
    return TRUE;
}
