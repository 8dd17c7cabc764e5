// --trace: the module's own diagnostic log, turned to level 2 for the run and printed as it
// grows, so what a gauge called, with what, what came back and why a call answered 0 are the
// module's words, not the stand-in's guesses.
#include <shlobj.h>

#include <cstring>

#include "fs9_log.h"
#include "fs9_world.h"
#include "runtime/log_place.h"

namespace fs9 {
namespace {

constexpr size_t kStampLength = 25;  // "2024-03-05 10:00:00.000  "

std::string log_path;
LONGLONG printed = 0;  // bytes of the log already printed
std::string partial;   // a line the module has not finished yet

// The folder the module takes for the simulator's: the one the registry value names.
std::string SimulatorFolder() {
    const Options& o = TheWorld().options;
    return o.exe_path == Options::ExePath::Given ? o.exe_path_value : TheWorld().folder;
}

// Where the module writes its log: its folder below the user's local application data.
std::string ModuleLogPath() {
    char local[MAX_PATH] = {};
    char folder[runtime::kLogPathSize];
    char path[runtime::kLogPathSize];
    if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local) !=
            S_OK ||
        !runtime::LogFolderBelow(local, folder) || !runtime::LogFileIn(folder, path, sizeof path)) {
        return "";
    }
    CreateDirectoryA(folder, nullptr);
    return path;
}

void PrintLine(std::string line) {
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    Log("trace: %s", line.size() > kStampLength ? line.c_str() + kStampLength : line.c_str());
}

}  // namespace

void TurnOnTrace() {
    if (!TheWorld().options.trace)
        return;
    std::string folder = SimulatorFolder();
    for (const char* part : {"\\Meridane", "\\Common", "\\Settings"}) {
        folder += part;
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    const std::string settings = folder + "\\MDNSERVICES.INI";
    log_path = ModuleLogPath();
    // This run's lines only: what the log holds already is skipped, not removed (the log is
    // the module's, and may be a user's).
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(log_path.c_str(), GetFileExInfoStandard, &data))
        printed = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (GetPrivateProfileIntA("diagnostics", "MDN_LOG", 0, settings.c_str()) >= 2) {
        Log("trace: MDN_LOG is 2 in %s already; the module's log lines follow as \"trace: ...\"",
            settings.c_str());
        return;
    }
    if (!MayWriteSettings(settings)) {
        Log("trace: %s was not installed by fs9.exe and is not changed: no trace (set MDN_LOG=2 "
            "in its [diagnostics] section for one)",
            settings.c_str());
        log_path.clear();
        return;
    }
    if (!WritePrivateProfileStringA("diagnostics", "MDN_LOG", "2", settings.c_str())) {
        Log("trace: MDN_LOG=2 cannot be written to %s (error %lu): no trace", settings.c_str(),
            GetLastError());
        log_path.clear();
        return;
    }
    Log("trace: MDN_LOG=2 in %s; the module's log lines follow as \"trace: ...\"",
        settings.c_str());
}

void PrintTrace() {
    // The main thread only: it is the one that runs gauges and the module's operations.
    if (log_path.empty() || GetCurrentThreadId() != TheWorld().main_thread)
        return;
    HANDLE file = CreateFileA(log_path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    if (size.QuadPart < printed)
        printed = 0;  // the module started a new file
    LARGE_INTEGER at{};
    at.QuadPart = printed;
    char buffer[4096];
    DWORD got = 0;
    if (SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) {
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            printed += got;
            partial.append(buffer, got);
            for (size_t end; (end = partial.find('\n')) != std::string::npos;) {
                PrintLine(partial.substr(0, end));
                partial.erase(0, end + 1);
            }
        }
    }
    CloseHandle(file);
}

void SkipTrace() {
    if (log_path.empty() || GetCurrentThreadId() != TheWorld().main_thread)
        return;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(log_path.c_str(), GetFileExInfoStandard, &data)) {
        printed = (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        partial.clear();
    }
}

}  // namespace fs9
