// The settings file and the module's own commands, carried out through its own key client.
#include "host/settings.h"

#include <cstdio>
#include <cstring>
#include <iterator>

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

void DumpKeys() {
    keyboard::DumpKeyBindings();
    platform::MessageBeep(0);
}

void ToggleVorCompatibility() {
    navigation::SetVorPassThrough(!navigation::VorPassThrough());
}

void StartAirData() {
    StartWorker(AirDataThread(), "MDNADC");
}

struct OwnCommand {
    const char* name;
    void (*carry_out)();
};

// Entry by entry as kOwnCommands, which the build checks below.
constexpr OwnCommand kCarriedOut[] = {
    {kNavDeviceCycle, [] { navigation::CycleNavDevice(); }},
    {kVorCompatibility, ToggleVorCompatibility},
    {kDumpTraffic, traffic::DumpTrafficCommand},  // beeps when done, whether or not it wrote
    {kDumpKeys, DumpKeys},
    {kAirDataStart, StartAirData},
};

consteval bool EveryOwnCommandIsCarriedOut() {
    if (std::size(kCarriedOut) != std::size(kOwnCommands))
        return false;
    for (size_t i = 0; i < std::size(kOwnCommands); ++i) {
        if (kCarriedOut[i].name != kOwnCommands[i])
            return false;
    }
    return true;
}
static_assert(EveryOwnCommandIsCarriedOut());

void CarryOut(const char* command) {
    for (const OwnCommand& own : kCarriedOut) {
        if (std::strcmp(command, own.name) == 0) {
            own.carry_out();
            return;
        }
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
