#include "fs9_options.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include <windows.h>

#include "sim_paths.h"

namespace fs9 {
namespace {

bool ParseUnsigned(const char* text, unsigned* out) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0' || value > 100000)
        return false;
    *out = static_cast<unsigned>(value);
    return true;
}

bool ParseAnswer(const std::string& text, int* out) {
    const std::string word = Upper(text);
    if (word == "YES")
        *out = 6;
    else if (word == "NO")
        *out = 7;
    else if (word == "OK")
        *out = 1;
    else if (word == "CANCEL")
        *out = 2;
    else
        return false;
    return true;
}

}  // namespace

const char* Usage() {
    return "usage: fs9.exe [options]\n"
           "  --gauge PATH        load a gauge DLL after the module and call its GaugeRun, if it\n"
           "                      has one; gauges stay loaded until the scenario has run\n"
           "                      (repeatable; unloaded last loaded first)\n"
           "  --scenario NAME     what runs while the gauges are loaded: idle (the message loop\n"
           "                      for --seconds), session, or a scenario file of steps; default\n"
           "                      idle when there is no gauge or a gauge has no GaugeRun\n"
           "  --seconds N         how long idle runs (default 5)\n"
           "  --set KEY=VALUE     a setting a gauge reads with Setting(KEY)\n"
           "  --output DIR        folder for pictures and dumps (default: fs9.exe's folder)\n"
           "  --timeout N         limit for the whole run in seconds (default 60)\n"
           "  --answer BUTTON     yes|no|ok|cancel for the next message box (repeatable)\n"
           "  --module PATH       the service module (default MdnSrv.dll beside fs9.exe)\n"
           "  --no-module         run the simulator without the service module\n"
           "  --trace             turn the module's diagnostic log to level 2 (MDN_LOG=2 in its\n"
           "                      settings file) and print its lines: each operation a gauge\n"
           "                      calls with arguments and result, and why a call answered 0\n"
           "                      or did nothing\n"
           "  --strict            a key client, navigation device or range handler a gauge\n"
           "                      leaves registered when it unloads is a failed check (without\n"
           "                      it, such leftovers are listed and the run still passes)\n"
           "  --no-watch          gauges get the module's own operation table, not the stand-in's\n"
           "                      watched copy (then a crash in the module names no operation\n"
           "                      and nothing left registered is listed)\n"
           "  --no-panels         do not load PANELS.DLL\n"
           "  --no-global         do not load GLOBAL.DLL at start (a gauge may load it later)\n"
           "  --without NAME      do not load the stand-in module NAME at start\n"
           "  --no-version        load a PANELS.DLL that carries no version resource\n"
           "  --late-window       create the main window only after the module attached\n"
           "  --exe-path PATH     write PATH as the simulator folder in the registry\n"
           "  --no-exe-path       remove the simulator folder from the registry\n"
           "                      (default: write fs9.exe's own folder)\n"
           "  --settings PATH     install PATH as the module's settings file for this run\n"
           "  --no-settings       run without a settings file (default: the sample file)\n"
           "  --hide-export M:N   stand-in module M no longer exports N (repeatable)\n"
           "  --poke M:E:W=V      word W of module M's exported record E becomes V (a number,\n"
           "                      or data: an address of memory that holds no code)\n"
           "  --coarse-timer      the module's sleeps and timed waits end on whole 15.625 ms\n"
           "                      ticks and its tick count moves by ticks, as on Windows\n"
           "  --heartbeat MS      a thread takes the loader lock over and over while the module\n"
           "                      attaches; reports the longest wait, a failed check past MS\n"
           "                      (0: report only); every box on the main thread then checks that\n"
           "                      it is not shown under the loader lock and that a thread\n"
           "                      started from it runs\n"
           "  --exit-heap-locked  end by ExitProcess with the module still loaded, while\n"
           "                      another thread holds every heap's lock\n"
           "  --fpu-single        the main thread's x87 control word 0x007F (single precision),\n"
           "                      as Direct3D 9 leaves it: set before the module loads and\n"
           "                      before every gauge call and dispatch, checked after each\n"
           "exit code: failed checks (at most 100), 123 crash, 124 time limit, 125 set-up\n"
           "(docs/gauges.md, \"Testing a gauge in the stand-in\", tells more)\n";
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string WindowsPath(const std::string& path) {
    return sim::WindowsPath(path);
}

// A relative path is the caller's, from its current folder: LoadLibrary would look for it
// beside fs9.exe first.
std::string FullPath(const std::string& path) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length == 0 || length >= sizeof full ? path : std::string(full, length);
}

bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char** out) {
            if (i + 1 >= argc) {
                *error = arg + " needs a value";
                return false;
            }
            *out = argv[++i];
            return true;
        };
        const char* v = nullptr;
        if (arg == "--scenario") {
            if (!value(&v))
                return false;
            options->scenario = WindowsPath(v);
        } else if (arg == "--gauge") {
            if (!value(&v))
                return false;
            options->gauges.push_back(FullPath(WindowsPath(v)));
        } else if (arg == "--module") {
            if (!value(&v))
                return false;
            options->module = WindowsPath(v);
        } else if (arg == "--no-module") {
            options->no_module = true;
        } else if (arg == "--trace") {
            options->trace = true;
        } else if (arg == "--strict") {
            options->strict = true;
        } else if (arg == "--no-watch") {
            options->watch = false;
        } else if (arg == "--no-panels") {
            options->without.insert("PANELS.DLL");
        } else if (arg == "--no-global") {
            options->without.insert("GLOBAL.DLL");
        } else if (arg == "--without") {
            if (!value(&v))
                return false;
            options->without.insert(Upper(v));
        } else if (arg == "--no-version") {
            options->no_version = true;
        } else if (arg == "--late-window") {
            options->late_window = true;
        } else if (arg == "--exe-path") {
            if (!value(&v))
                return false;
            options->exe_path = Options::ExePath::Given;
            options->exe_path_value = WindowsPath(v);
        } else if (arg == "--no-exe-path") {
            options->exe_path = Options::ExePath::None;
        } else if (arg == "--settings") {
            if (!value(&v))
                return false;
            options->settings_file = Options::Settings::Given;
            options->settings_path = WindowsPath(v);
        } else if (arg == "--no-settings") {
            options->settings_file = Options::Settings::None;
        } else if (arg == "--answer") {
            int button = 0;
            if (!value(&v) || !ParseAnswer(v, &button)) {
                *error = "--answer takes yes, no, ok or cancel";
                return false;
            }
            options->answers.push_back(button);
        } else if (arg == "--seconds" || arg == "--timeout") {
            unsigned n = 0;
            if (!value(&v) || !ParseUnsigned(v, &n)) {
                *error = arg + " takes a number of seconds";
                return false;
            }
            (arg == "--seconds" ? options->seconds : options->timeout) = n;
        } else if (arg == "--set") {
            if (!value(&v))
                return false;
            const char* equals = std::strchr(v, '=');
            if (equals == nullptr) {
                *error = "--set takes KEY=VALUE";
                return false;
            }
            options->settings[std::string(v, equals)] = equals + 1;
        } else if (arg == "--output") {
            if (!value(&v))
                return false;
            options->output = WindowsPath(v);
        } else if (arg == "--hide-export" || arg == "--poke") {
            if (!value(&v))
                return false;
            (arg == "--poke" ? options->pokes : options->hidden_exports).push_back(v);
        } else if (arg == "--coarse-timer") {
            options->coarse_timer = true;
        } else if (arg == "--heartbeat") {
            if (!value(&v) || !ParseUnsigned(v, &options->heartbeat_limit_ms)) {
                *error = "--heartbeat takes a number of milliseconds";
                return false;
            }
            options->heartbeat = true;
        } else if (arg == "--exit-heap-locked") {
            options->exit_heap_locked = true;
        } else if (arg == "--fpu-single") {
            options->fpu_single = true;
        } else if (arg == "--help" || arg == "-h") {
            *error = "";
            return false;
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

}  // namespace fs9
