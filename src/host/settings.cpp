// The settings file and the module's own commands, carried out through its own key client.
#include "host/settings.h"

#include <cstdio>
#include <cstring>

#include "host/module_state.h"
#include "host/workers.h"
#include "keyboard/keyboard.h"
#include "navigation/navigation.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "traffic/traffic.h"

namespace host {
namespace {

constexpr char kSettingsFile[] = "\\Meridane\\Common\\Settings\\MDNSERVICES.INI";
constexpr char kSection[] = "keyboard";
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
        AirDataThread().Start();
    }
}

}  // namespace

void ReadSettings() {
    char path[kPathSize + sizeof kSettingsFile];
    std::snprintf(path, sizeof path, "%s%s", SimulatorFolder(), kSettingsFile);
    const DWORD attributes = platform::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return;
    }
    for (const char* command : kOwnCommands) {
        char value[kPathSize] = {};
        platform::GetPrivateProfileStringA(kSection, command, kAbsent, value, kPathSize, path);
        // Eight bytes: "INVALID" and its terminator. A longer value differs in its eighth.
        if (std::memcmp(value, kAbsent, sizeof kAbsent) == 0)
            continue;
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
