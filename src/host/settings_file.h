// The settings file: where it lies below the simulator folder and how the key text of each of
// the module's own commands is read from it. Start-up and mdn-doctor read it the same way.
#pragma once
#include <cstddef>
#include <iterator>

#include "runtime/module_values.h"

namespace host {

// The settings file's folder below the simulator folder, and its name in that folder.
constexpr char kSettingsFolder[] = "\\Meridane\\Common\\Settings";
constexpr char kSettingsFileName[] = "\\MDNSERVICES.INI";
constexpr char kKeyboardSection[] = "keyboard";
constexpr char kDiagnosticsSection[] = "diagnostics";
constexpr char kLogKey[] = "MDN_LOG";
constexpr size_t kSettingsPathSize =
    runtime::kPathSize + sizeof kSettingsFolder + sizeof kSettingsFileName;

constexpr char kNavDeviceCycle[] = "MDN_NAV_DEVICE_CYCLE";
constexpr char kVorCompatibility[] = "MDN_SIMPLE_VOR_COMPATIBILITY";
constexpr char kDumpTraffic[] = "MDN_DUMP_TFC";
constexpr char kDumpKeys[] = "MDN_DUMP_KEYS";
constexpr char kAirDataStart[] = "MDN_ADC_START";

// In the order they are read from the settings file. The module carries each out through its
// own table (host/settings.cpp), which the build holds to this one entry by entry.
constexpr const char* kOwnCommands[] = {kNavDeviceCycle, kVorCompatibility, kDumpTraffic, kDumpKeys,
                                        kAirDataStart};

// Every key the module reads from the settings file, by section: what mdn-doctor accepts, the
// sample file holds and the installation guide describes.
struct SettingKey {
    const char* section;
    const char* key;
};
constexpr SettingKey kSettingKeys[] = {
    {kKeyboardSection, kNavDeviceCycle}, {kKeyboardSection, kVorCompatibility},
    {kKeyboardSection, kDumpTraffic},    {kKeyboardSection, kDumpKeys},
    {kKeyboardSection, kAirDataStart},   {kDiagnosticsSection, kLogKey},
};

// The [keyboard] keys are the own commands, no more and no fewer.
consteval bool KeyboardKeysAreTheOwnCommands() {
    size_t k = 0;
    for (const SettingKey& setting : kSettingKeys) {
        if (setting.section != kKeyboardSection)
            continue;
        if (k == std::size(kOwnCommands) || setting.key != kOwnCommands[k])
            return false;
        ++k;
    }
    return k == std::size(kOwnCommands);
}
static_assert(KeyboardKeysAreTheOwnCommands());

// `folder` followed by the settings file's place below it, into `path` (kSettingsPathSize).
void SettingsFilePath(const char* folder, char* path);
// `folder` followed by the settings file's folder below it, into `path` (kSettingsPathSize).
void SettingsFolderPath(const char* folder, char* path);
// True when `path` names a file, not a folder.
bool SettingsFileExists(const char* path);
// The key text of `command` from section "keyboard" into `value` (kPathSize bytes). False
// when the key is absent or holds exactly "INVALID": the command then gets no key.
bool ReadOwnKeyText(const char* path, const char* command, char* value);

// The diagnostic log's level that section "diagnostics" sets with MDN_LOG: 0 when the key is
// absent or 0, the digit for 1 to 9 (the log counts levels above 2 as 2), and -1 for anything
// else, which leaves the log off.
int ReadLogLevel(const char* path);

}  // namespace host
