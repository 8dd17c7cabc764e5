// The network bridge's settings file beside the tools, judged by the bridge's own parser, so a
// file the doctor passes is one the bridge starts with.
#include <cstdio>
#include <string>

#include "bridge_settings.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "report.h"

namespace doctor {

void CheckBridgeSettings(Report& report) {
    char path[MAX_PATH] = {};
    const DWORD n = platform::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path, n < sizeof path ? n : 0);
    const size_t slash = file.find_last_of("\\/");
    file = file.substr(0, slash == std::string::npos ? 0 : slash + 1) + bridge::kSettingsFileName;
    std::FILE* in = platform::OpenTextFile(file.c_str(), "rb");
    if (in == nullptr) {
        report.Line(Verdict::Note, "%s: none, so the network bridge would use its defaults",
                    file.c_str());
        return;
    }
    std::string text;
    char block[4096];
    for (size_t n_read; (n_read = std::fread(block, 1, sizeof block, in)) > 0;)
        text.append(block, n_read);
    std::fclose(in);
    bridge::Settings settings;
    bridge::SettingsReport found;
    bridge::ParseSettings(text, &settings, &found);
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
