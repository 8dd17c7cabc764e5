// The settings file and the module's own commands, carried out through its own key client.
#include "host/settings.h"

#include <cstdio>
#include <cstring>

#include "host/module_state.h"
#include "host/workers.h"
#include "keyboard/key_grammar.h"
#include "keyboard/keyboard.h"
#include "navigation/navigation.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "runtime/diag_log.h"
#include "traffic/traffic.h"

namespace host {
namespace {

constexpr char kSettingsFolder[] = "\\Meridane\\Common\\Settings";
constexpr char kSettingsFile[] = "\\Meridane\\Common\\Settings\\MDNSERVICES.INI";
constexpr char kSection[] = "keyboard";
constexpr char kDiagnosticsSection[] = "diagnostics";
constexpr char kLogKey[] = "MDN_LOG";
constexpr char kAbsent[] = "INVALID";

constexpr char kNavDeviceCycle[] = "MDN_NAV_DEVICE_CYCLE";
constexpr char kVorCompatibility[] = "MDN_SIMPLE_VOR_COMPATIBILITY";
constexpr char kDumpTraffic[] = "MDN_DUMP_TFC";
constexpr char kDumpKeys[] = "MDN_DUMP_KEYS";
constexpr char kAirDataStart[] = "MDN_ADC_START";

// In the order they are read from the settings file.
constexpr const char* kOwnCommands[] = {kNavDeviceCycle, kVorCompatibility, kDumpTraffic, kDumpKeys,
                                        kAirDataStart};

void CarryOut(const char* command) {
    if (std::strcmp(command, kNavDeviceCycle) == 0) {
        navigation::CycleNavDevice();
    } else if (std::strcmp(command, kVorCompatibility) == 0) {
        navigation::SetVorPassThrough(!navigation::VorPassThrough());
    } else if (std::strcmp(command, kDumpTraffic) == 0) {
        traffic::DumpTrafficCommand();  // beeps when done, whether or not the file opened
    } else if (std::strcmp(command, kDumpKeys) == 0) {
        keyboard::DumpKeyBindings();
        platform::MessageBeep(0);
    } else if (std::strcmp(command, kAirDataStart) == 0) {
        StartWorker(AirDataThread(), "MDNADC");
    }
}

using SettingsPath = char[kPathSize + sizeof kSettingsFile];

// False when there is no settings file (or a folder in its place).
bool FindSettingsFile(SettingsPath& path) {
    std::snprintf(path, sizeof path, "%s%s", SimulatorFolder(), kSettingsFile);
    const DWORD attributes = platform::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void LogBinding(const char* command, const char* value, uint32_t id) {
    if (id == 0) {
        MDN_LOG("settings: %s = %s not bound: the command name is held already", command,
                runtime::LogText(value).c_str());
    } else if (keyboard::ParseKeyText(value).virtual_key == 0) {
        MDN_LOG("settings: %s = %s not understood by the key grammar: the command has no key",
                command, runtime::LogText(value).c_str());
    } else {
        MDN_LOG("settings: %s = %s bound (command id 0x%04X)", command,
                runtime::LogText(value).c_str(), id);
    }
}

}  // namespace

void ReadSettings() {
    SettingsPath path;
    if (!FindSettingsFile(path)) {
        MDN_LOG("settings: no file %s: no own command has a key",
                runtime::LogText(path, runtime::kLogTextLimit).c_str());
        return;
    }
    for (const char* command : kOwnCommands) {
        char value[kPathSize] = {};
        platform::GetPrivateProfileStringA(kSection, command, kAbsent, value, kPathSize, path);
        // Eight bytes: "INVALID" and its terminator. A longer value differs in its eighth.
        if (std::memcmp(value, kAbsent, sizeof kAbsent) == 0) {
            MDN_LOG("settings: %s = \"INVALID\" (absent or INVALID): no key", command);
            continue;
        }
        const uint32_t id = keyboard::BindKeyCommand(Module().own_key_client, command, value);
        if (runtime::LogOn())
            LogBinding(command, value, id);
    }
}

void StartLogFromSettings() {
    SettingsPath path;
    if (SimulatorFolder()[0] == '\0' || !FindSettingsFile(path))
        return;
    char value[16] = {};
    platform::GetPrivateProfileStringA(kDiagnosticsSection, kLogKey, "0", value, sizeof value,
                                       path);
    // Anything but a level turns nothing on.
    const int level = value[0] >= '0' && value[0] <= '9' && value[1] == '\0' ? value[0] - '0' : 0;
    if (level == 0)
        return;
    char folder[kPathSize + sizeof kSettingsFolder];
    std::snprintf(folder, sizeof folder, "%s%s", SimulatorFolder(), kSettingsFolder);
    runtime::StartLog(level, folder);
}

void MDN_STDCALL OwnCommandHandler() {
    char name[64];
    while (keyboard::NextKeyEvent(Module().own_key_client, name, nullptr) == 1) {
        name[sizeof name - 1] = '\0';
        CarryOut(name);
    }
}

}  // namespace host
