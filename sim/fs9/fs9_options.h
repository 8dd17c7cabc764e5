// fs9.exe's command line.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs9 {

struct Options {
    std::string scenario;               // built-in scenario; "" = idle unless gauges run
    std::vector<std::string> gauges;    // --gauge, run in order
    std::string module = "MdnSrv.dll";  // --module; relative to fs9.exe's folder
    bool no_module = false;
    std::set<std::string> without;  // stand-in modules not loaded at start (upper case)
    bool no_version = false;        // PANELS.DLL without a version resource
    bool late_window = false;       // main window created after the module attached
    enum class ExePath { Own, Given, None } exe_path = ExePath::Own;
    std::string exe_path_value;
    enum class Settings { Sample, Given, None };
    Settings settings_file = Settings::Sample;    // the module's settings file for the run
    std::string settings_path;                    // --settings
    std::vector<int> answers;                     // buttons for the first boxes, in order
    unsigned seconds = 5;                         // idle scenario length
    unsigned timeout = 60;                        // whole run
    std::map<std::string, std::string> settings;  // --set key=value, for gauges
    std::string output;                           // folder for pictures and dumps
    std::vector<std::string> hidden_exports;      // --hide-export MODULE:NAME
    std::vector<std::string> pokes;               // --poke MODULE:EXPORT:WORD=VALUE
    bool coarse_timer = false;                    // the module's waits end on 15.625 ms ticks
    bool heartbeat = false;                       // measure the loader lock while it attaches
    unsigned heartbeat_limit_ms = 0;              // 0: only report
    bool exit_heap_locked = false;  // end by ExitProcess, module loaded, heap lock held
    bool fpu_single = false;        // the main thread's x87 unit as Direct3D 9 leaves it
    bool watch = true;    // gauges get the watched copy of the operation table (--no-watch)
    bool trace = false;   // the module's diagnostic log at level 2, its lines printed (--trace)
    bool strict = false;  // what a gauge leaves registered fails the run (--strict)
};

// False with a message on bad usage.
bool ParseOptions(int argc, char** argv, Options* options, std::string* error);
const char* Usage();
// A path given the Unix way ("/x/y") becomes the Wine drive path ("Z:\x\y").
std::string WindowsPath(const std::string& path);
// `path` made absolute against the current folder.
std::string FullPath(const std::string& path);
std::string Upper(std::string text);

}  // namespace fs9
