// Reading the settings file's own-command keys.
#include "host/settings_file.h"

#include <cstdio>
#include <cstring>

#include "platform/kernel.h"
#include "platform/win_files.h"

namespace host {
namespace {

constexpr char kAbsent[] = "INVALID";

}  // namespace

void SettingsFilePath(const char* folder, char* path) {
    std::snprintf(path, kSettingsPathSize, "%s%s%s", folder, kSettingsFolder, kSettingsFileName);
}

void SettingsFolderPath(const char* folder, char* path) {
    std::snprintf(path, kSettingsPathSize, "%s%s", folder, kSettingsFolder);
}

bool SettingsFileExists(const char* path) {
    const DWORD attributes = platform::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool ReadOwnKeyText(const char* path, const char* command, char* value) {
    std::memset(value, 0, runtime::kPathSize);
    platform::GetPrivateProfileStringA(kKeyboardSection, command, kAbsent, value,
                                       runtime::kPathSize, path);
    // Eight bytes: "INVALID" and its terminator. A longer value differs in its eighth.
    return std::memcmp(value, kAbsent, sizeof kAbsent) != 0;
}

int ReadLogLevel(const char* path) {
    char value[16] = {};
    platform::GetPrivateProfileStringA(kDiagnosticsSection, kLogKey, "0", value, sizeof value,
                                       path);
    if (value[0] >= '0' && value[0] <= '9' && value[1] == '\0')
        return value[0] - '0';
    return -1;
}

}  // namespace host
