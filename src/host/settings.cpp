// The settings file and the module's own commands, carried out through its own key client.
#include "host/settings.h"

#include <cstdio>
#include <cstring>

#include "host/module_state.h"
#include "host/settings_file.h"
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
    char path[kSettingsPathSize];
    SettingsFilePath(SimulatorFolder(), path);
    if (!SettingsFileExists(path)) {
        MDN_LOG("settings: no file %s: no own command has a key",
                runtime::LogText(path, runtime::kLogTextLimit).c_str());
        return;
    }
    for (const char* command : kOwnCommands) {
        char value[kPathSize];
        if (!ReadOwnKeyText(path, command, value)) {
            MDN_LOG("settings: %s = \"INVALID\" (absent or INVALID): no key", command);
            continue;
        }
        const uint32_t id = keyboard::BindKeyCommand(Module().own_key_client, command, value);
        if (runtime::LogOn())
            LogBinding(command, value, id);
    }
}

void StartLogFromSettings() {
    char path[kSettingsPathSize];
    SettingsFilePath(SimulatorFolder(), path);
    if (SimulatorFolder()[0] == '\0' || !SettingsFileExists(path))
        return;
    // Anything but a level turns nothing on.
    const int level = ReadLogLevel(path);
    if (level <= 0)
        return;
    char folder[kSettingsPathSize];
    SettingsFolderPath(SimulatorFolder(), folder);
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
