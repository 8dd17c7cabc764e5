// The bridge's settings file (mdn-bridge.ini beside the program): sections and KEY=value
// lines as in the module's settings file. Parsing needs no Windows, so the host build tests it
// and mdn-doctor judges a file exactly as the bridge will.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bridge {

constexpr char kSettingsFileName[] = "mdn-bridge.ini";
constexpr unsigned kMinRate = 1;
constexpr unsigned kMaxRate = 60;

struct Settings {
    std::string host = "127.0.0.1";
    uint16_t port = 1883;
    std::string user;
    std::string password;
    std::string station = "cockpit";
    unsigned rate = 30;  // block samples per second
    std::string mirror_name = "mirror";
    bool commands = false;         // commands back: off unless the file turns them on
    std::string simulator_folder;  // empty: the folder the simulator's registry value names
    // Commands of gauges with the key text each gauge binds ([keys] NAME=KEY TEXT).
    std::vector<std::pair<std::string, std::string>> keys;
};

struct SettingsReport {
    std::vector<std::string> problems;  // values that cannot be used: the bridge does not start
    std::vector<std::string> notes;     // keys it does not know: ignored
};

// Reads `text` (the file's content) over the defaults in `settings`. Each problem or note
// names the line.
void ParseSettings(std::string_view text, Settings* settings, SettingsReport* report);

// Station and mirror names become topic levels: letters, digits, '-' and '_', 1 to 64.
bool IsTopicName(std::string_view name);

}  // namespace bridge
