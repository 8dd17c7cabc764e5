// fs9.exe: the stand-in simulator. It sets up what the simulator would (registry value,
// main window, its own modules), loads the service module on the window thread, hands it the
// panels function table, runs a scenario or gauges, unloads everything and reports.
#include <cstdio>

#include "fs9_log.h"
#include "fs9_world.h"

namespace fs9 {

World& TheWorld() {
    static World world;
    return world;
}

namespace {

constexpr int kSetUpFailed = 125;

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    const size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? "." : folder.substr(0, slash);
}

int SetUpFailed(const std::string& why) {
    Log("SET-UP FAILED: %s", why.c_str());
    return kSetUpFailed;
}

void Summary() {
    const std::vector<SimBox> boxes = Boxes();
    const std::vector<SimTimerTick> ticks = Ticks();
    char times[512] = "";
    size_t used = 0;
    for (const SimTimerTick& tick : ticks) {
        if (used + 16 >= sizeof times)
            break;
        used += std::snprintf(times + used, sizeof times - used, " %u",
                              static_cast<unsigned>(tick.time_ms));
    }
    Log("summary: %u message box(es), %u link timer tick(s)%s%s",
        static_cast<unsigned>(boxes.size()), static_cast<unsigned>(ticks.size()),
        ticks.empty() ? "" : " at ms", times);
}

int Run(int argc, char** argv) {
    World& world = TheWorld();
    std::string error;
    if (!ParseOptions(argc, argv, &world.options, &error)) {
        // --help goes to stdout, so it can be piped or saved; a usage error to stderr.
        if (!error.empty())
            WriteOut("fs9.exe: " + error + "\n", true);
        WriteOut(Usage(), !error.empty());
        return error.empty() ? 0 : kSetUpFailed;
    }
    world.folder = OwnFolder();
    world.main_thread = GetCurrentThreadId();
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(),
                    &world.main_thread_handle, THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT, FALSE,
                    0);
    world.main_stack_top = StackTop();
    TrackActionsOn(world.main_thread);
    InstallCrashReport();
    StartWatchdog(world.options.timeout);
    Log("stand-in simulator in %s (time limit %u s)", world.folder.c_str(), world.options.timeout);

    WriteExePath();
    if (!InstallSettingsFile(&error))
        return SetUpFailed(error);
    TurnOnTrace();
    InstallBoxCloser();
    if (!RegisterWindowClass())
        return SetUpFailed("cannot register the window class FS98MAIN");
    if (!world.options.late_window && !CreateMainWindow()) {
        return SetUpFailed("cannot create the main window: no display? (source scripts/wine-env)");
    }
    if (!ReadModuleList(&error) || !LoadStandIns(&error) || !ApplyStandInFaults(&error))
        return SetUpFailed(error);
    if (!world.options.no_module && !LoadServiceModule(&error))
        return SetUpFailed(error);
    if (world.options.late_window && !CreateMainWindow()) {
        return SetUpFailed("cannot create the main window: no display? (source scripts/wine-env)");
    }
    HandOverPanelsTable();
    if (world.options.watch)
        WatchOperations();
    Pump(100);

    if (!RunGaugesAndScenario(&error))
        return SetUpFailed(error);

    Summary();
    if (world.options.exit_heap_locked) {
        SetLastAction("ending the process with the module loaded and the heap's lock held");
        ExitWithHeapLocked(Failures() > 100 ? 100 : Failures());
    }
    if (world.module) {
        const bool unloaded = UnloadServiceModule();
        PrintTrace();
        // What those checks expect of freed code does not hold for a module still loaded.
        if (unloaded)
            AfterUnloadChecks();
        else
            Log("the checks after unload are left out: the module is still loaded");
    }
    RemoveBoxCloser();
    // The window is left to the process's end: Wine takes seconds to destroy it.
    const unsigned failures = Failures();
    Log("%u check(s), %u failed", CheckCount(), failures);
    return failures > 100 ? 100 : static_cast<int>(failures);
}

}  // namespace
}  // namespace fs9

int main(int argc, char** argv) {
    const int code = fs9::Run(argc, argv);
    // Ending here, not through the run-time's exit, keeps the stand-in modules' detach and
    // the watchdog out of each other's way.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    return code;
}
