// Where the diagnostic log lies, spelt once: its folder below the user's local application-data
// folder, and its file name in that folder or in the settings file's folder, where the module
// falls back to. The module's log, mdn-doctor and the stand-in simulator all build the paths
// here, so they look for the file where the module writes it. Header only: the stand-in
// simulator links none of the module's code.
#pragma once
#include <cstddef>
#include <cstdio>

namespace runtime {

constexpr char kLogFileName[] = "MdnSrv.log";
constexpr char kLogFolderName[] = "\\Meridane";
// A log folder or a log file in it (a local application-data folder of up to MAX_PATH).
constexpr size_t kLogPathSize = 260 + sizeof kLogFolderName + sizeof kLogFileName + 4;

// The log's own folder below the local application-data folder `local`, into `folder`
// (kLogPathSize bytes); false when `local` is empty or the result does not fit.
inline bool LogFolderBelow(const char* local, char* folder) {
    const int n = std::snprintf(folder, kLogPathSize, "%s%s", local, kLogFolderName);
    return local[0] != '\0' && n > 0 && static_cast<size_t>(n) < kLogPathSize;
}

// The log file in `folder` (the log's own folder, or the settings file's), into `path` (`size`
// bytes); false when it does not fit.
inline bool LogFileIn(const char* folder, char* path, size_t size) {
    const int n = std::snprintf(path, size, "%s\\%s", folder, kLogFileName);
    return n > 0 && static_cast<size_t>(n) < size;
}

}  // namespace runtime
