// The settings file and the module's own commands, carried out through its own key client.
#include "host/settings.h"

#include <cstring>

#include "host/module_state.h"
#include "host/settings_file.h"
#include "host/workers.h"
#include "keyboard/keyboard.h"
#include "navigation/navigation.h"
#include "platform/kernel.h"
#include "platform/user.h"
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
        AirDataThread().Start();
    }
}

}  // namespace

void ReadSettings() {
    char path[kSettingsPathSize];
    SettingsFilePath(SimulatorFolder(), path);
    if (!SettingsFileExists(path))
        return;
    for (const char* command : kOwnCommands) {
        char value[kPathSize];
        if (ReadOwnKeyText(path, command, value))
            keyboard::BindKeyCommand(Module().own_key_client, command, value);
    }
}

void MDN_STDCALL OwnCommandHandler() {
    char name[64];
    while (keyboard::NextKeyEvent(Module().own_key_client, name, nullptr) == 1) {
        name[sizeof name - 1] = '\0';
        CarryOut(name);
    }
}

}  // namespace host
