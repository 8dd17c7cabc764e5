// The network bridge's settings file beside the tools, judged by the bridge's own parser, so a
// file the doctor passes is one the bridge starts with.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "bridge_settings.h"
#include "report.h"

namespace doctor {

void CheckBridgeSettings(Report& report) {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path, n < sizeof path ? n : 0);
    const size_t slash = file.find_last_of("\\/");
    file = file.substr(0, slash == std::string::npos ? 0 : slash + 1) + bridge::kSettingsFileName;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        report.Line(Verdict::Note, "%s: none, so the network bridge would use its defaults",
                    file.c_str());
        return;
    }
    std::ostringstream text;
    text << in.rdbuf();
    bridge::Settings settings;
    bridge::SettingsReport found;
    bridge::ParseSettings(text.str(), &settings, &found);
    for (const std::string& note : found.notes)
        report.Line(Verdict::Note, "%s: %s", file.c_str(), note.c_str());
    for (const std::string& problem : found.problems)
        report.Line(Verdict::Problem, "%s: %s; mdn-bridge will not start", file.c_str(),
                    problem.c_str());
    if (found.problems.empty()) {
        report.Line(Verdict::Ok, "%s: broker %s:%u, station %s, commands %s", file.c_str(),
                    settings.host.c_str(), settings.port, settings.station.c_str(),
                    settings.commands ? "on" : "off");
    }
}

}  // namespace doctor
