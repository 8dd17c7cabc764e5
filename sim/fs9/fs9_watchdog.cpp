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

const GaugeImage* GaugeAt(uintptr_t address) {
    for (const GaugeImage& gauge : TheWorld().loaded_gauges) {
        if (address >= gauge.base && address < gauge.end)
            return &gauge;
    }
    return nullptr;
}

bool InModule(uintptr_t address) {
    const World& world = TheWorld();
    return world.module_base != 0 && !world.module_unloaded && address >= world.module_base &&
           address < world.module_end;
}

// A gauge whose DllMain is running is not in the list yet: its module's file is the one
// being loaded.
bool InLoadingGauge(const std::string& where) {
    const std::string& loading = TheWorld().loading_gauge;
    return !loading.empty() && _stricmp(where.c_str(), loading.c_str()) == 0;
}

// Who to blame when the main thread is stuck or a program crashed while gauges were loaded.
std::string GaugeBlame(const char* what) {
    const World& world = TheWorld();
    if (!world.running_gauge.empty())
        return std::string("the gauge ") + world.running_gauge + " was running: " + what;
    if (!world.loaded_gauges.empty()) {
        std::string names;
        for (const GaugeImage& gauge : world.loaded_gauges)
            names += (names.empty() ? "" : ", ") + gauge.path;
        return "gauges loaded: " + names;
    }
    return "";
}

// Where the main thread is now: the time-limit report names the gauge (or the module) whose
// code it is stuck in, and the callback, when the module called the gauge.
std::string MainThreadPlace() {
    const HANDLE thread = TheWorld().main_thread_handle;
    if (thread == nullptr || SuspendThread(thread) == static_cast<DWORD>(-1))
        return "";
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    const bool read = GetThreadContext(thread, &context) != 0;
    uintptr_t at = read ? context.Eip : 0;
    uintptr_t stack = read ? context.Esp : 0;
    const uintptr_t top = TheWorld().main_stack_top;
    // Its stack is read while it stands still. Waiting in a system call, the innermost return
    // address into a gauge or the module says whose code waits.
    if (read && GaugeAt(at) == nullptr && !InModule(at)) {
        at = 0;
        for (uintptr_t slot = stack & ~uintptr_t{3}; slot + 4 <= top && slot - stack < 0x10000;
             slot += 4) {
            const uintptr_t word = *reinterpret_cast<const uintptr_t*>(slot);
            const GaugeImage* image = GaugeAt(word);
            if ((image && IsReturnInto(word, image->base, image->end)) ||
                (InModule(word) &&
                 IsReturnInto(word, TheWorld().module_base, TheWorld().module_end))) {
                at = word;
                stack = slot + 4;
                break;
            }
        }
    }
    const GaugeImage* gauge = GaugeAt(at);
    const bool called_back = gauge && ModuleCalledGauge(stack, top);
    ResumeThread(thread);
    if (!read)
        return "";
    char text[MAX_PATH + 160];
    if (gauge != nullptr) {
        const std::string callback =
            called_back ? CallbackNear(at, gauge->base, gauge->end) : std::string();
        std::snprintf(text, sizeof text, "the main thread is in the gauge %s at 0x%08lX%s%s",
                      gauge->path.c_str(), static_cast<unsigned long>(at),
                      callback.empty() ? "" : ", in its ", callback.c_str());
        return text;
    }
    if (InModule(at)) {
        std::snprintf(text, sizeof text, "the main thread is in MdnSrv.dll at 0x%08lX",
                      static_cast<unsigned long>(at));
        return text;
    }
    return "";
}

DWORD WINAPI Watch(void*) {
    for (;;) {
        Sleep(100);
        SweepDialogs();
        if (Now() / 1000 >= limit_seconds) {
            const std::string place = MainThreadPlace();
            std::string blame = GaugeBlame("its fault");
            if (!place.empty())
                blame =
                    TheWorld().running_gauge.empty() ? place + ": its fault" : blame + "; " + place;
            Log("TIMEOUT: the run did not end within %u s; the stand-in's last action: %s%s%s%s",
                limit_seconds, LastAction().c_str(), blame.empty() ? "" : " (", blame.c_str(),
                blame.empty() ? "" : ")");
            TerminateProcess(GetCurrentProcess(), 124);
        }
    }
}

[[noreturn]] void ReportCrash(const EXCEPTION_RECORD* record, const CONTEXT* context) {
    const void* address = record ? record->ExceptionAddress : nullptr;
    const uintptr_t at = reinterpret_cast<uintptr_t>(address);
    const std::string where = ModuleOf(address);
    const bool main_thread = GetCurrentThreadId() == TheWorld().main_thread;
    Log("CRASH: exception 0x%08lX at %p in %s on %s; the stand-in's last action: %s",
        record ? static_cast<unsigned long>(record->ExceptionCode) : 0UL, address, where.c_str(),
        main_thread ? "the main thread" : "another thread (the main thread's action follows)",
        LastAction().c_str());
    const std::string& gauge = TheWorld().running_gauge;
    const GaugeImage* faulting = GaugeAt(at);
    // A gauge's code reached from the module: one of the callbacks it registered.
    const std::string callback = faulting && context && ModuleCalledGauge(context->Esp, StackTop())
                                     ? CallbackNear(at, faulting->base, faulting->end)
                                     : std::string();
    if (!callback.empty()) {
        Log("CRASH: the fault lies in the gauge %s, in its %s, which MdnSrv.dll called: the "
            "fault is the gauge's (in its own code)",
            faulting->path.c_str(), callback.c_str());
    } else if (!gauge.empty() && InModule(at)) {
        Log("CRASH: the gauge %s was running and the fault lies in MdnSrv.dll: check what the "
            "gauge passed to the operation named above (addresses, sizes, handles)",
            gauge.c_str());
    } else if (!gauge.empty()) {
        Log("CRASH: the gauge %s was running: the fault is the gauge's%s; the log above shows "
            "what the module saw last",
            gauge.c_str(), _stricmp(where.c_str(), gauge.c_str()) == 0 ? " (in its own code)" : "");
    } else if (faulting != nullptr) {
        Log("CRASH: the fault lies in the gauge %s: the fault is the gauge's (in its own code)",
            faulting->path.c_str());
    } else if (InLoadingGauge(where)) {
        Log("CRASH: the fault lies in the gauge %s, in its DllMain: the fault is the gauge's",
            where.c_str());
    } else if (!TheWorld().loaded_gauges.empty()) {
        Log("CRASH: %s", GaugeBlame("").c_str());
    }
    TerminateProcess(GetCurrentProcess(), 123);
    for (;;)
        Sleep(INFINITE);
}

LONG WINAPI CrashReport(EXCEPTION_POINTERS* info) {
    ReportCrash(info ? info->ExceptionRecord : nullptr, info ? info->ContextRecord : nullptr);
}

}  // namespace

uintptr_t StackTop() {
    uintptr_t top;
    asm("movl %%fs:4, %0" : "=r"(top));  // NT_TIB.StackBase of the calling thread
    return top;
}

namespace {

bool Fatal(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION:
        case EXCEPTION_IN_PAGE_ERROR:
        case EXCEPTION_ILLEGAL_INSTRUCTION:
        case EXCEPTION_PRIV_INSTRUCTION:
        case EXCEPTION_INT_DIVIDE_BY_ZERO:
        case EXCEPTION_INT_OVERFLOW:
        case EXCEPTION_STACK_OVERFLOW:
        case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
        case EXCEPTION_FLT_DIVIDE_BY_ZERO:
        case EXCEPTION_FLT_INVALID_OPERATION:
        case EXCEPTION_FLT_OVERFLOW:
        case EXCEPTION_FLT_UNDERFLOW:
        case EXCEPTION_FLT_STACK_CHECK:
        case EXCEPTION_NONCONTINUABLE_EXCEPTION:
            return true;
        default:
            return false;
    }
}

// Seen before any handler of the code that raised it: Wine (and 64-bit Windows, for window
// procedures) swallows an exception raised in a callback reached from message dispatch, so
// the unhandled-exception filter would never hear of a gauge's callback that crashed.
// Faults elsewhere (the system's own probing, the stand-in modules) go their usual way.
LONG WINAPI FirstChanceFault(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info ? info->ExceptionRecord : nullptr;
    if (record == nullptr || !Fatal(record->ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;
    const uintptr_t at = reinterpret_cast<uintptr_t>(record->ExceptionAddress);
    if (GaugeAt(at) != nullptr || InModule(at) ||
        InLoadingGauge(ModuleOf(record->ExceptionAddress))) {
        ReportCrash(record, info->ContextRecord);
    }
    return EXCEPTION_CONTINUE_SEARCH;
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
    AddVectoredExceptionHandler(1, &FirstChanceFault);
}

}  // namespace fs9
