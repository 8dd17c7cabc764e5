// Every run ends: a watchdog thread ends the process at the time limit, and a crash anywhere
// ends it with a report naming the module the fault lies in and what the stand-in was doing.
// The watchdog also sweeps for message boxes of threads other than the main one.
#include <cstdio>

#include "fs9_log.h"
#include "fs9_world.h"

namespace fs9 {
namespace {

unsigned limit_seconds = 60;

std::string ModuleOf(const void* address) {
    HMODULE module = nullptr;
    char name[MAX_PATH] = "(no module)";
    if (GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCSTR>(address), &module) &&
        module) {
        GetModuleFileNameA(module, name, sizeof name);
    }
    return name;
}

DWORD WINAPI Watch(void*) {
    for (;;) {
        Sleep(100);
        SweepDialogs();
        if (Now() / 1000 >= limit_seconds) {
            PrintTail(12);
            Log("TIMEOUT: the run did not end within %u s; the stand-in's last action: %s%s",
                limit_seconds, LastAction().c_str(),
                TheWorld().current_gauge.empty() ? "" : " (a gauge was running: its fault)");
            TerminateProcess(GetCurrentProcess(), 124);
        }
    }
}

LONG WINAPI CrashReport(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info ? info->ExceptionRecord : nullptr;
    const void* address = record ? record->ExceptionAddress : nullptr;
    const std::string where = ModuleOf(address);
    PrintTail(12);
    Log("CRASH: exception 0x%08lX at %p in %s; the stand-in's last action: %s",
        record ? static_cast<unsigned long>(record->ExceptionCode) : 0UL, address, where.c_str(),
        LastAction().c_str());
    const std::string& gauge = TheWorld().current_gauge;
    if (!gauge.empty()) {
        Log("CRASH: the gauge %s was running: the fault is the gauge's%s; the log above shows "
            "what the module saw last",
            gauge.c_str(), _stricmp(where.c_str(), gauge.c_str()) == 0 ? " (in its own code)" : "");
    }
    TerminateProcess(GetCurrentProcess(), 123);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void StartWatchdog(unsigned seconds) {
    limit_seconds = seconds;
    CloseHandle(CreateThread(nullptr, 0, &Watch, nullptr, 0, nullptr));
}

void InstallCrashReport() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(&CrashReport);
}

}  // namespace fs9
