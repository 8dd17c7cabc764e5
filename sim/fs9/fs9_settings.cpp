// The module's settings file for a run. The stand-in writes a settings file of its own below
// its folder, its first line a mark saying so; it replaces or removes only a file with that
// mark. Anyone else's file there (or one given with --settings that is that very file) is
// read as it is and never changed: a user's own settings must survive any run.
#include <cstring>
#include <fstream>
#include <sstream>

#include "fs9_log.h"
#include "fs9_world.h"

namespace fs9 {
namespace {

constexpr char kMark[] =
    "; Installed by fs9.exe for one run: the next run replaces or removes this file.";

bool ReadWhole(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream all;
    all << in.rdbuf();
    *text = all.str();
    return !in.bad();
}

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Both names lead to one file (another spelling, a link): compared by volume and file index.
bool SameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    const std::string* paths[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        HANDLE file = CreateFileA(paths[i]->c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        const BOOL read = GetFileInformationByHandle(file, &info[i]);
        CloseHandle(file);
        if (!read)
            return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
           info[0].nFileIndexLow == info[1].nFileIndexLow;
}

std::string SamplePath() {
    return TheWorld().folder + "\\settings-sample\\MDNSERVICES.INI";
}

// The stand-in's own: marked, or (from before the mark) an exact copy of the sample, which
// loses nothing when replaced.
bool Ours(const std::string& path) {
    std::string text, sample;
    if (!ReadWhole(path, &text))
        return false;
    if (text.compare(0, std::strlen(kMark), kMark) == 0)
        return true;
    return ReadWhole(SamplePath(), &sample) && text == sample;
}

bool WriteNew(const std::string& path, const std::string& body) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const std::string text = std::string(kMark) + "\r\n" + body;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    CloseHandle(file);
    return ok;
}

std::string SettingsFolder(std::string folder) {
    for (const char* part : {"\\Meridane", "\\Common", "\\Settings"}) {
        folder += part;
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    return folder;
}

}  // namespace

bool MayWriteSettings(const std::string& path) {
    if (!Exists(path))
        return WriteNew(path, "");
    return IsFile(path) && Ours(path);
}

bool InstallSettingsFile(std::string* error) {
    const World& world = TheWorld();
    const std::string target = SettingsFolder(world.folder) + "\\MDNSERVICES.INI";
    const bool there = Exists(target);
    const bool ours = there && IsFile(target) && Ours(target);
    const std::string leave_alone =
        "the settings file " + target + " was not installed by fs9.exe, so it is left alone: ";
    if (world.options.settings_file == Options::Settings::None) {
        if (there && !ours) {
            *error = leave_alone + "move it away to run without one";
            return false;
        }
        if (there && !DeleteFileA(target.c_str())) {
            *error = "the settings file " + target + " cannot be removed (error " +
                     std::to_string(GetLastError()) + ")";
            return false;
        }
        Log("settings file: none");
        return true;
    }
    const std::string source = world.options.settings_file == Options::Settings::Given
                                   ? world.options.settings_path
                                   : SamplePath();
    if (there && SameFile(source, target)) {
        Log("settings file: %s, read where it is%s", target.c_str(),
            ours ? "" : " (not installed by fs9.exe: never changed)");
        return true;
    }
    if (there && !ours) {
        *error = leave_alone + "run with --settings " + target +
                 " to use it as it is, or move "
                 "it away";
        return false;
    }
    std::string body;
    if (!IsFile(source) || !ReadWhole(source, &body)) {
        *error = "the settings file " + source + " cannot be read (error " +
                 std::to_string(GetLastError()) + ")";
        return false;
    }
    if (!WriteNew(target, body)) {
        *error = "the settings file " + target + " cannot be written (error " +
                 std::to_string(GetLastError()) + ")";
        return false;
    }
    Log("settings file: %s", source.c_str());
    return true;
}

}  // namespace fs9
