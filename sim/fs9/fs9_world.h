// The stand-in simulator's state shared by its parts: the main window, the loaded modules,
// the message loop with its record of link-timer ticks, the closed message boxes.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fs9_options.h"
#include "sim_clock.h"
#include "sim_driver.h"

namespace fs9 {

struct StandIn {
    std::string name;  // as listed, e.g. "PANELS.DLL"
    std::string path;  // where it is loaded from
    HMODULE handle = nullptr;
    uint32_t loaded_at = 0;
};

// A gauge DLL while it is loaded: its image range tells its code from everyone else's.
struct GaugeImage {
    std::string path;  // full path
    uintptr_t base = 0, end = 0;
};

struct World {
    Options options;
    std::string folder;  // fs9.exe's folder, no trailing backslash
    DWORD main_thread = 0;
    HWND window = nullptr;
    std::vector<StandIn> stand_ins;
    HMODULE module = nullptr;
    uintptr_t module_base = 0, module_end = 0;  // image range, kept after unload
    bool module_unloaded = false;
    uintptr_t panels_original_lookup = 0;   // word 40 when PANELS.DLL was loaded
    std::string running_gauge;              // full path while its GaugeRun runs
    std::string loading_gauge;              // the path given while its DllMain runs
    std::vector<GaugeImage> loaded_gauges;  // in load order
    HANDLE main_thread_handle = nullptr;    // for the time-limit report's look at it
    uintptr_t main_stack_top = 0;
};
World& TheWorld();
inline uint32_t Now() {
    return sim::ElapsedMs();
}

// Main window (fs9_window.cpp).
bool RegisterWindowClass();
bool CreateMainWindow();

// The module's diagnostic log as the run's trace (fs9_trace.cpp): TurnOnTrace writes MDN_LOG=2
// into the settings file the module reads (before it loads); PrintTrace prints the log's lines
// written since the last call, each as "trace: ...". Both do nothing without --trace.
void TurnOnTrace();
void PrintTrace();
// Passes over the lines written since the last PrintTrace: those of the stand-in's own calls.
void SkipTrace();

// Message loop (fs9_loop.cpp).
// With --fpu-single: the x87 control word Direct3D 9 leaves on the main thread, set before a
// call into a gauge or the module, and a failed check when that call did not leave it so.
void SetCallerFpu();
void CheckCallerFpu(const char* call);
void Pump(uint32_t ms);
uint32_t PumpUntilTicks(uint32_t count, uint32_t max_ms);
std::vector<SimTimerTick> Ticks();
uint32_t TicksDispatched();
uint32_t ThreadCount();

// Message boxes (fs9_boxes.cpp).
void InstallBoxCloser();
void RemoveBoxCloser();
void SweepDialogs();  // any thread
std::vector<SimBox> Boxes();
void QueueAnswer(int button);

// Modules (fs9_modules.cpp). False when a listed module is missing or fails to load.
bool ReadModuleList(std::string* error);
bool LoadStandIns(std::string* error);
bool LoadStandIn(const std::string& name);
HMODULE StandInHandle(const std::string& name);
void* const* PanelsTable();
bool LoadServiceModule(std::string* error);
void HandOverPanelsTable();
// False (with a failed check) when the module is still mapped after FreeLibrary.
bool UnloadServiceModule();
void AfterUnloadChecks();
void WriteExePath();
// The process around the module (fs9_process.cpp): the loader-lock heartbeat, started just
// before the module loads and stopped (reporting) after; a millisecond clock finer than Now();
// the end of the process by ExitProcess while another thread holds the heap's lock.
void StartHeartbeat();
void StopHeartbeat(double load_ms);
// With --heartbeat, a box shown on the main thread checks that its thread does not hold the
// loader lock and that a thread started from the box's own code runs; what it found, in words.
void CheckLoaderLockInBox(const char* caption);
// The x87 control word a new thread of the process begins with (0 when none could be started).
uint16_t NewThreadControlWord();
double NowMs();
[[noreturn]] void ExitWithHeapLocked(unsigned code);
// Faults of the stand-in modules (fs9_faults.cpp), made before the service module loads.
bool ApplyStandInFaults(std::string* error);

// The module's settings file for the run (fs9_settings.cpp). The stand-in replaces, changes or
// removes only a settings file it wrote itself; anyone else's is read as it is. False with
// `error` set when the run cannot have the file it asked for.
bool InstallSettingsFile(std::string* error);
// True when the stand-in may change the settings file `path`: it wrote it, or it was absent
// (it is then created, empty but for the stand-in's mark).
bool MayWriteSettings(const std::string& path);

// Input (fs9_input.cpp).
void PressKeys(uint32_t modifiers, uint32_t virtual_key);
void SetAppActive(bool active);
void PaintFrame();
void OpenMenuBar();
void PostCommand(uint32_t id);
uint32_t FindMenuCommand(const char* text);
std::string DescribeMenus();

// Gauges and scenarios (fs9_driver.cpp, fs9_gauges.cpp, fs9_scenarios.cpp).
const SimDriver* Driver();
// Loads the gauges in order and calls each one's GaugeRun, runs the scenario (or, when none
// is given, the idle one if a gauge has no GaugeRun or there is no gauge) while they stay
// loaded, then unloads them, last first. False with `error` set when the scenario is unknown
// or a gauge cannot be loaded.
bool RunGaugesAndScenario(std::string* error);
bool RunScenario(const std::string& name);
// A built-in scenario's name or a scenario file that can be read.
bool ScenarioKnown(const std::string& name);

// The operations gauges call, watched (fs9_watch.cpp): the gauges get a copy of the table
// whose entries name the running operation for the crash report and keep a record of what
// is registered, so that what a gauge leaves behind at unload can be listed.
void WatchOperations();
void StopWatchingOperations();
// Logs the key clients, navigation devices and range handlers whose callbacks lie in
// [base, end) and are still registered; returns their number.
unsigned ListLeftRegistered(uintptr_t base, uintptr_t end, const std::string& gauge);
// For a fault at `address` in the gauge image [base, end): the registered callback of that
// gauge nearest below it ("key client callback 0x... (handle 0x...)"), or "".
std::string CallbackNear(uintptr_t address, uintptr_t base, uintptr_t end);
// True when the stack from `stack_pointer` up to `stack_top` holds a return address into the
// service module: the module called the code running there.
bool ModuleCalledGauge(uintptr_t stack_pointer, uintptr_t stack_top);
// True when `word` lies in the image [base, end) right after a call instruction.
bool IsReturnInto(uintptr_t word, uintptr_t base, uintptr_t end);
// The top of the calling thread's stack.
uintptr_t StackTop();

// Time limit and crashes (fs9_watchdog.cpp).
void StartWatchdog(unsigned seconds);
void InstallCrashReport();

}  // namespace fs9
