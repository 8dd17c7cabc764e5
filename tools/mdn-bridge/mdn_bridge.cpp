// mdn-bridge: the air-data block of the Meridane service module on an MQTT broker.
//
//   mdn-bridge publish [--ini FILE] [--host H] [--port N] [--seconds N]
//       on the simulator's PC: publishes the block under mdnsrv/<station>/ and, when enabled,
//       presses the keys of the commands that panels send to mdnsrv/<station>/command/<NAME>
//   mdn-bridge mirror [--ini FILE] [--host H] [--port N] [--seconds N]
//       on another PC: recreates the station's block there for the readers on that PC
//   --ini names the settings file (default: mdn-bridge.ini beside the program; without it the
//   defaults hold); --host and --port override the file's; --seconds ends the run after N
//   seconds as Ctrl+C does (the bridge says "offline" before it goes).
//
// Settings file, sections and KEY=value lines (";" starts a comment), keys in any case:
//   [broker]   host=127.0.0.1   port=1883   user=   password=
//   [bridge]   station=cockpit (letters, digits, '-', '_')   rate=30 (samples a second, 1-60)
//   [mirror]   name=mirror (the mirror's own status topic: mdnsrv/<station>/mirror/<name>/status)
//   [commands] enabled=no (yes turns commands back on)   simulator_folder= (default: the
//              folder in the simulator's registry value; its module settings file gives the
//              keys of the module's own commands)
//   [keys]     <COMMAND>=<key text> for each gauge command panels may send, e.g. GPS_ZOOM=CTRL+F5
//
// Exit status: 0 after a run, 2 for a wrong command line or settings file, 3 when the mirror
// cannot make the block, 4 when Windows sockets do not start.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "bridge.h"
#include "console.h"
#include "pacing.h"
#include "transport.h"

namespace bridge {
namespace {

volatile LONG g_stop = 0;
uint32_t g_deadline = 0;
bool g_has_deadline = false;

BOOL WINAPI OnConsoleEvent(DWORD) {
    InterlockedExchange(&g_stop, 1);
    return TRUE;
}

void Usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: mdn-bridge publish|mirror [--ini FILE] [--host H] [--port N] "
                 "[--seconds N]\n"
                 "publish: on the simulator's PC, puts the air-data block of the Meridane "
                 "service module\n"
                 "         on an MQTT broker and, when enabled, presses the keys of commands "
                 "sent back.\n"
                 "mirror:  on another PC, recreates the published block there.\n"
                 "Settings: mdn-bridge.ini beside the program (see the sample file).\n");
}

std::string DefaultIniPath() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, n < sizeof path ? n : 0);
    const size_t slash = text.find_last_of("\\/");
    text.resize(slash == std::string::npos ? 0 : slash + 1);
    return text + kSettingsFileName;
}

bool ReadFile(const std::string& path, std::string* text) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream content;
    content << file.rdbuf();
    *text = content.str();
    return true;
}

bool ParseCount(const char* text, unsigned long high, unsigned long* out) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0' || value == 0 || value > high)
        return false;
    *out = value;
    return true;
}

}  // namespace

bool StopAsked() {
    if (g_has_deadline && static_cast<int32_t>(NowMs() - g_deadline) >= 0)
        InterlockedExchange(&g_stop, 1);
    return g_stop != 0;
}

}  // namespace bridge

int main(int argc, char** argv) {
    using namespace bridge;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        Usage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const std::string mode = argv[1];
    if (mode != "publish" && mode != "mirror") {
        std::fprintf(stderr, "mdn-bridge: unknown mode \"%s\"\n", argv[1]);
        Usage(stderr);
        return 2;
    }
    std::string ini;
    const char* host = nullptr;
    unsigned long port = 0, seconds = 0;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = value != nullptr;
        if (arg == "--ini" && ok)
            ini = value;
        else if (arg == "--host" && ok)
            host = value;
        else if (arg == "--port" && ok)
            ok = ParseCount(value, 65535, &port);
        else if (arg == "--seconds" && ok)
            ok = ParseCount(value, 7 * 24 * 3600, &seconds);
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "mdn-bridge: wrong argument \"%s\"%s\n", argv[i],
                         value == nullptr ? " (it needs a value)" : "");
            Usage(stderr);
            return 2;
        }
        ++i;
    }

    Settings settings;
    const bool named = !ini.empty();
    if (!named)
        ini = DefaultIniPath();
    std::string text;
    if (ReadFile(ini, &text)) {
        SettingsReport report;
        ParseSettings(text, &settings, &report);
        for (const std::string& note : report.notes)
            Say("%s: %s", ini.c_str(), note.c_str());
        for (const std::string& problem : report.problems)
            Say("%s: %s", ini.c_str(), problem.c_str());
        if (!report.problems.empty()) {
            Say("the settings file has %lu problem(s): not starting",
                static_cast<unsigned long>(report.problems.size()));
            return 2;
        }
    } else if (named) {
        Say("settings file %s cannot be read", ini.c_str());
        return 2;
    } else {
        Say("no settings file %s: the defaults hold (broker 127.0.0.1:1883, station cockpit)",
            ini.c_str());
    }
    if (host != nullptr)
        settings.host = host;
    if (port != 0)
        settings.port = static_cast<uint16_t>(port);
    if (seconds != 0) {
        g_deadline = NowMs() + static_cast<uint32_t>(seconds * 1000);
        g_has_deadline = true;
    }
    if (!StartWinsock()) {
        Say("Windows sockets do not start");
        return 4;
    }
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
    return mode == "publish" ? RunPublish(settings) : RunMirror(settings);
}
