// PANELS.DLL's entry point: the code region exists from attach to detach. On request it also
// watches the process's end: the service module, detached just before it, must have left the
// lookup entry (word 40 of the panels table) as it was, for at the process's end a module
// writes nothing; otherwise the process ends with exit code 99.
#include <windows.h>

#include "panels_table.h"

namespace {

volatile LONG watching = 0;
void* const* watched_table = nullptr;
void* entry_at_watch = nullptr;

void Say(const char* text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, lstrlenA(text), &written, nullptr);
}

void CheckEntryAtTheEnd() {
    if (watched_table[40] == entry_at_watch) {
        Say("ok   panels lookup entry at the process's end: as the module left it while running\n");
        return;
    }
    Say("FAIL panels lookup entry at the process's end: written by the module's detach\n");
    TerminateProcess(GetCurrentProcess(), 99);
}

}  // namespace

extern "C" __declspec(dllexport) void __stdcall SimPanelsWatchProcessEnd(void* const* table) {
    watched_table = table;
    entry_at_watch = table[40];
    InterlockedExchange(&watching, 1);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        return panels::CreateCodeRegion() ? TRUE : FALSE;
    }
    if (reason == DLL_PROCESS_DETACH) {
        if (reserved != nullptr && watching) {
            CheckEntryAtTheEnd();
            return TRUE;  // the process's end: nothing to give back
        }
        panels::DestroyCodeRegion();
    }
    return TRUE;
}
