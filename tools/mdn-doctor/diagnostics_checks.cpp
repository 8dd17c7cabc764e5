// The diagnostic log's setting and where its file is or would be, and, while the simulator
// runs, whether the module's air-data block exists.
#include <windows.h>
#include <shlobj.h>

#include "mdnsrv.h"
#include "report.h"
#include "runtime/diag_log.h"

namespace doctor {
namespace {

// The module's log file lies beside the settings file, or in the user's local application
// data folder when that folder cannot be written.
constexpr char kLogFile[] = "\\MdnSrv.log";
constexpr char kFallbackLogFile[] = "\\Meridane\\MdnSrv.log";
static_assert(sizeof kLogFile == sizeof runtime::kLogFileName + 1);

void CheckLogSetting(Report& report, const Installation& installation) {
    if (!installation.settings_present) {
        report.Line(Verdict::Note, "log: off (its setting is in the settings file)");
        return;
    }
    const int level = host::ReadLogLevel(installation.settings_path);
    if (level == 0) {
        report.Line(Verdict::Ok, "log: off (%s in section [%s] is missing or 0)", host::kLogKey,
                    host::kDiagnosticsSection);
    } else if (level == 1) {
        report.Line(Verdict::Ok, "log: on (%s=1: events and refusals)", host::kLogKey);
    } else if (level == 2) {
        report.Line(Verdict::Ok,
                    "log: on (%s=2: events, refusals and every operation a gauge calls)",
                    host::kLogKey);
    } else if (level > 2) {
        report.Line(Verdict::Note,
                    "log: on at level 2 (%s=%d: there is no level above 2, so it counts as 2; "
                    "write 2)",
                    host::kLogKey, level);
    } else {
        report.Line(Verdict::Problem,
                    "log: %s in section [%s] is not understood, so the log stays off; write 0 "
                    "(off), 1 or 2",
                    host::kLogKey, host::kDiagnosticsSection);
    }
}

// True when a file can be made in `folder`; the probe is removed when it is closed.
bool CanWriteIn(const char* folder) {
    char probe[runtime::kPathSize + 32];
    JoinPath(probe, sizeof probe, folder, "\\mdn-doctor.probe");
    HANDLE file = CreateFileA(probe, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_EXISTS;
    CloseHandle(file);
    return true;
}

bool ReportLogFile(Report& report, const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    FILETIME local;
    SYSTEMTIME at{};
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &at);
    report.Line(Verdict::Note, "log file %s, %lu bytes, last written %04u-%02u-%02u %02u:%02u",
                path, static_cast<unsigned long>(data.nFileSizeLow), at.wYear, at.wMonth, at.wDay,
                at.wHour, at.wMinute);
    return true;
}

void CheckLogFile(Report& report, const Installation& installation) {
    char beside[host::kSettingsPathSize + sizeof kLogFile] = {};
    char settings_folder[host::kSettingsPathSize] = {};
    if (installation.folder_valid) {
        host::SettingsFolderPath(installation.folder, settings_folder);
        JoinPath(beside, sizeof beside, settings_folder, kLogFile);
    }
    char local[MAX_PATH] = {};
    char fallback[MAX_PATH + sizeof kFallbackLogFile] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local) == S_OK)
        JoinPath(fallback, sizeof fallback, local, kFallbackLogFile);

    bool found = beside[0] != '\0' && ReportLogFile(report, beside);
    found = (fallback[0] != '\0' && ReportLogFile(report, fallback)) || found;
    if (found)
        return;
    if (beside[0] != '\0' && CanWriteIn(settings_folder)) {
        report.Line(Verdict::Note, "log file: none yet; the module writes it to %s", beside);
    } else if (fallback[0] != '\0') {
        report.Line(Verdict::Note, "log file: none yet; the module writes it to %s%s", fallback,
                    beside[0] != '\0' ? " (the settings folder cannot be written)" : "");
    } else {
        report.Line(Verdict::Note, "log file: none yet");
    }
}

void CheckAirDataBlock(Report& report) {
    if (FindWindowA(runtime::kSimulatorWindowClass, nullptr) == nullptr) {
        report.Line(Verdict::Note,
                    "simulator is not running: the air-data block is checked while it runs");
        return;
    }
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, MDN_AIRDATA_NAME);
    if (mapping == nullptr) {
        report.Line(Verdict::Problem,
                    "simulator is running, but the air-data block does not exist: the module is "
                    "not loaded");
        return;
    }
    CloseHandle(mapping);
    report.Line(Verdict::Ok, "simulator is running and the air-data block exists");
}

}  // namespace

void CheckDiagnostics(Report& report, const Installation& installation) {
    CheckLogSetting(report, installation);
    CheckLogFile(report, installation);
    CheckAirDataBlock(report);
}

}  // namespace doctor
