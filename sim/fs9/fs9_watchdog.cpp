// Every run ends: a watchdog thread ends the process at the time limit, and a crash anywhere
// ends it with a report naming the module the fault lies in and what the stand-in was doing.
// The watchdog also sweeps for message boxes of threads other than the main one.
#include <cstdio>
#include <cstring>

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

// Who to blame when the main thread is stuck or a program crashed while gauges were loaded.
std::string GaugeBlame(const char* what) {
    const World& world = TheWorld();
    if (!world.running_gauge.empty())
        return std::string("the gauge ") + world.running_gauge + " was running: " + what;
    if (!world.loaded_gauges.empty()) {
        std::string names;
        for (const std::string& gauge : world.loaded_gauges)
            names += (names.empty() ? "" : ", ") + gauge;
        return "gauges loaded: " + names;
    }
    return "";
}

DWORD WINAPI Watch(void*) {
    for (;;) {
        Sleep(100);
        SweepDialogs();
        if (Now() / 1000 >= limit_seconds) {
            const std::string blame = GaugeBlame("its fault");
            Log("TIMEOUT: the run did not end within %u s; the stand-in's last action: %s%s%s%s",
                limit_seconds, LastAction().c_str(), blame.empty() ? "" : " (", blame.c_str(),
                blame.empty() ? "" : ")");
            TerminateProcess(GetCurrentProcess(), 124);
        }
    }
}

LONG WINAPI CrashReport(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info ? info->ExceptionRecord : nullptr;
    const void* address = record ? record->ExceptionAddress : nullptr;
    const std::string where = ModuleOf(address);
    const bool main_thread = GetCurrentThreadId() == TheWorld().main_thread;
    Log("CRASH: exception 0x%08lX at %p in %s on %s; the stand-in's last action: %s",
        record ? static_cast<unsigned long>(record->ExceptionCode) : 0UL, address, where.c_str(),
        main_thread ? "the main thread" : "another thread (the main thread's action follows)",
        LastAction().c_str());
    const std::string& gauge = TheWorld().running_gauge;
    const bool in_module = TheWorld().module_base != 0 &&
                           reinterpret_cast<uintptr_t>(address) >= TheWorld().module_base &&
                           reinterpret_cast<uintptr_t>(address) < TheWorld().module_end;
    if (!gauge.empty() && in_module) {
        Log("CRASH: the gauge %s was running and the fault lies in MdnSrv.dll: check what the "
            "gauge passed to the operation named above (addresses, sizes, handles)",
            gauge.c_str());
    } else if (!gauge.empty()) {
        Log("CRASH: the gauge %s was running: the fault is the gauge's%s; the log above shows "
            "what the module saw last",
            gauge.c_str(), _stricmp(where.c_str(), gauge.c_str()) == 0 ? " (in its own code)" : "");
    } else if (!TheWorld().loaded_gauges.empty()) {
        Log("CRASH: %s", GaugeBlame("").c_str());
    }
    TerminateProcess(GetCurrentProcess(), 123);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Text a gauge or the module sends with OutputDebugStringA arrives here first, as the
// exception a debugger would see; it goes to the log, and the text counts as delivered.
LONG WINAPI DebugText(EXCEPTION_POINTERS* info) {
    constexpr DWORD kDebugPrint = 0x40010006;  // DBG_PRINTEXCEPTION_C
    const EXCEPTION_RECORD* record = info ? info->ExceptionRecord : nullptr;
    if (record == nullptr || record->ExceptionCode != kDebugPrint || record->NumberParameters < 2 ||
        record->ExceptionInformation[1] == 0) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    // The length includes the terminator; a longer text is cut, a shorter one ends early.
    size_t length = record->ExceptionInformation[0];
    length = length > 0 ? length - 1 : 0;
    length = strnlen(text, length < 2000 ? length : 2000);
    std::string line(text, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    Log("debug output: %s", Escaped(line.c_str()).c_str());
    return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

void StartWatchdog(unsigned seconds) {
    limit_seconds = seconds;
    CloseHandle(CreateThread(nullptr, 0, &Watch, nullptr, 0, nullptr));
}

void InstallCrashReport() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(&CrashReport);
    AddVectoredExceptionHandler(1, &DebugText);
}

}  // namespace fs9
