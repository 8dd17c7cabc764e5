// The diagnostic log's setting and where its file is or would be, and, while the simulator
// runs, whether the module's air-data block exists.
#include <cstdio>

#include "platform/win_memory.h"
#include "platform/win_files.h"
#include "mdnsrv.h"
#include "platform/kernel.h"
#include "platform/shell.h"
#include "platform/user.h"
#include "report.h"
#include "runtime/diag_log.h"

namespace doctor {
namespace {

// Windows Vista and later redirect a write below a protected folder (Program Files) by a
// program without a manifest, as the simulator is, to this folder of the user's.
constexpr char kVirtualStore[] = "\\VirtualStore";

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

bool ReportLogFile(Report& report, const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!platform::GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    FILETIME local;
    SYSTEMTIME at{};
    platform::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    platform::FileTimeToSystemTime(&local, &at);
    report.Line(Verdict::Note, "log file %s, %lu bytes, last written %04u-%02u-%02u %02u:%02u",
                path, static_cast<unsigned long>(data.nFileSizeLow), at.wYear, at.wMonth, at.wDay,
                at.wHour, at.wMinute);
    return true;
}

// The redirected copy of `path` ("C:\Program Files\...") in the user's VirtualStore, into
// `out`; false when `path` does not begin with a drive.
bool VirtualStorePath(char* out, size_t size, const char* path) {
    char local[MAX_PATH] = {};
    if (path[0] == '\0' || path[1] != ':' || path[2] != '\\' ||
        platform::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local) != S_OK) {
        return false;
    }
    const int n = std::snprintf(out, size, "%s%s%s", local, kVirtualStore, path + 2);
    return n > 0 && static_cast<size_t>(n) < size;
}

void CheckLogFile(Report& report, const Installation& installation) {
    // Where the module writes its log, and where it wrote it when that folder could not be
    // written: beside the settings file.
    char folder[runtime::kLogPathSize] = {};
    char own[runtime::kLogPathSize] = {};
    if (runtime::LogFolder(folder) && runtime::LogFileIn(folder, own, sizeof own)) {
        report.Line(Verdict::Note, "log file: the module writes it to %s", own);
    } else {
        report.Line(Verdict::Note,
                    "log file: Windows names no local application-data folder; "
                    "the module writes it beside the settings file");
    }
    char beside[host::kSettingsPathSize + sizeof runtime::kLogFileName + 1] = {};
    if (installation.folder_valid) {
        char settings_folder[host::kSettingsPathSize] = {};
        host::SettingsFolderPath(installation.folder, settings_folder);
        if (!runtime::LogFileIn(settings_folder, beside, sizeof beside))
            beside[0] = '\0';
    }
    char redirected[MAX_PATH + sizeof kVirtualStore + sizeof beside] = {};
    if (beside[0] != '\0' && !VirtualStorePath(redirected, sizeof redirected, beside))
        redirected[0] = '\0';

    bool found = own[0] != '\0' && ReportLogFile(report, own);
    if (beside[0] != '\0' && ReportLogFile(report, beside)) {
        found = true;
        report.Line(Verdict::Note,
                    "  (beside the settings file: written when the module could "
                    "not write its own folder, or by an older version)");
    }
    if (redirected[0] != '\0' && ReportLogFile(report, redirected)) {
        found = true;
        report.Line(Verdict::Note,
                    "  (Windows redirected it there from beside the settings file, a "
                    "protected folder: an older version wrote it, or this one when its own "
                    "folder could not be written)");
    }
    if (!found)
        report.Line(Verdict::Note, "log file: none yet");
}

void CheckAirDataBlock(Report& report) {
    if (platform::FindWindowExA(nullptr, nullptr, runtime::kSimulatorWindowClass, nullptr) ==
        nullptr) {
        report.Line(Verdict::Note,
                    "simulator is not running: the air-data block is checked while it runs");
        return;
    }
    HANDLE mapping = platform::OpenFileMappingA(FILE_MAP_READ, FALSE, MDN_AIRDATA_NAME);
    if (mapping == nullptr) {
        report.Line(Verdict::Problem,
                    "simulator is running, but the air-data block does not exist: the module is "
                    "not loaded");
        return;
    }
    platform::CloseHandle(mapping);
    report.Line(Verdict::Ok, "simulator is running and the air-data block exists");
}

}  // namespace

void CheckDiagnostics(Report& report, const Installation& installation) {
    CheckLogSetting(report, installation);
    CheckLogFile(report, installation);
    CheckAirDataBlock(report);
}

}  // namespace doctor
