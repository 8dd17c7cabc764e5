// Fake file system: Windows paths mapped below a per-process temporary folder, so the module's
// real file code (attributes, profile files, text streams) runs against real files.
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <strings.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "platform/win_errors.h"
#include "area.h"
#include "platform/fake_files.h"
#include "platform/files.h"
#include "platform/kernel.h"

namespace fs = std::filesystem;

namespace fake {
namespace {

constexpr char kRootPrefix[] = "mdnsrv-fake.";

// Removes a folder and everything below it, whatever permissions a test left on it.
void RemoveTree(const fs::path& path) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(path, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(path, ec);
}

// A folder left by a process that died without ending normally (a crash, a sanitizer's
// abort, a timeout's kill) is removed by a later process: its name carries the process id.
// Recently touched folders stay, in case the id belongs to another process namespace.
void RemoveOrphans(const std::string& base) {
    std::error_code ec;
    const auto stale = fs::file_time_type::clock::now() - std::chrono::minutes(10);
    for (const auto& entry : fs::directory_iterator(base, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kRootPrefix, 0) != 0)
            continue;
        const long pid = std::strtol(name.c_str() + sizeof kRootPrefix - 1, nullptr, 10);
        std::error_code time_ec;
        if (pid <= 0 || kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH ||
            entry.last_write_time(time_ec) > stale || time_ec) {
            continue;
        }
        RemoveTree(entry.path());
    }
}

// The process's folder, removed when the process ends: normally or after a failed test.
struct RootFolder {
    std::string path;
    pid_t owner = 0;  // 0: the shared fall-back folder, never removed

    RootFolder() {
        // Below $TMPDIR when set: fuzz runs put it on a memory file system, where the many
        // small files of each run cost no disk journal.
        const char* base = std::getenv("TMPDIR");
        const std::string folder = base && *base ? base : "/tmp";
        RemoveOrphans(folder);
        std::string pattern = folder + "/" + kRootPrefix + std::to_string(getpid()) + ".XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            path = pattern;
            owner = getpid();
        } else {
            path = "/tmp/mdnsrv-fake";
        }
    }
    ~RootFolder() {
        // A forked child that exits leaves its parent's folder alone.
        if (owner != 0 && owner == getpid())
            RemoveTree(path);
    }
};

std::string& Root() {
    static RootFolder root;
    return root.path;
}

std::set<std::string>& Locked() {
    static std::set<std::string> locked;
    return locked;
}

ResetHook reset_files([] {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(Root(), ec)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(entry.path(), ec);
    }
    Locked().clear();
    fs::create_directories(Root() + "/C", ec);  // drive C always exists
});

}  // namespace

bool IsPathLocked(const std::string& host) {
    return Locked().count(host) != 0;
}

namespace {

bool IsLocked(const std::string& host) {
    return IsPathLocked(host);
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// Hands each line of `section` (sections named without regard to case; blanks trimmed,
// comments and empty lines left out) to `take`, in the file's order, until it says it is done.
template <class Take>
void WalkSection(const std::string& host, const std::string& section, Take take) {
    std::ifstream in(host, std::ios::binary);
    std::string line;
    bool in_section = false;
    while (std::getline(in, line)) {
        const std::string t = Trim(line);
        if (t.empty() || t[0] == ';')
            continue;
        if (t[0] == '[') {
            const auto close = t.find(']');
            const std::string name =
                Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            in_section = strcasecmp(name.c_str(), section.c_str()) == 0;
            continue;
        }
        if (in_section && take(t))
            return;
    }
}

// Windows' profile lookup: keys without regard to case, blanks trimmed, one pair of enclosing
// quotes removed.
std::optional<std::string> ProfileValue(const std::string& host, const std::string& section,
                                        const std::string& key) {
    std::optional<std::string> found;
    WalkSection(host, section, [&](const std::string& t) {
        const auto eq = t.find('=');
        if (eq == std::string::npos || strcasecmp(Trim(t.substr(0, eq)).c_str(), key.c_str()) != 0)
            return false;
        std::string value = Trim(t.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front()) {
            value = value.substr(1, value.size() - 2);
        }
        found = value;
        return true;
    });
    return found;
}

// The key names of a section, in the file's order, as written (blanks trimmed); a line without
// '=' counts as a key, a comment does not.
std::vector<std::string> ProfileKeys(const std::string& host, const std::string& section) {
    std::vector<std::string> keys;
    WalkSection(host, section, [&](const std::string& t) {
        keys.push_back(Trim(t.substr(0, t.find('='))));
        return false;
    });
    return keys;
}

// Names one after the other, each ended by NUL, the list by a second NUL. When they do not fit,
// the last one that starts is cut and the answer is size - 2, as Windows does.
DWORD CopyNameList(const std::vector<std::string>& names, LPSTR buffer, DWORD size) {
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    DWORD used = 0;
    for (const std::string& name : names) {
        if (used + name.size() + 2 > size) {
            const DWORD room = size - 2 - used;
            std::memcpy(buffer + used, name.data(), room);
            buffer[size - 2] = '\0';
            buffer[size - 1] = '\0';
            return size - 2;
        }
        std::memcpy(buffer + used, name.c_str(), name.size() + 1);
        used += static_cast<DWORD>(name.size()) + 1;
    }
    buffer[used] = '\0';
    return used;
}

constexpr uint64_t kTicksPerSecond = 10'000'000;
constexpr uint64_t kSecondsFrom1601To1970 = 11'644'473'600;

FILETIME FileTimeOf(const struct timespec& t) {
    const uint64_t ticks =
        (static_cast<uint64_t>(t.tv_sec) + kSecondsFrom1601To1970) * kTicksPerSecond +
        static_cast<uint64_t>(t.tv_nsec) / 100;
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace

std::string HostPath(const std::string& windows_path) {
    std::string p = windows_path;
    std::replace(p.begin(), p.end(), '\\', '/');
    if (p.size() >= 2 && p[1] == ':')
        p = std::string(1, static_cast<char>(std::toupper(p[0]))) + p.substr(2);
    while (!p.empty() && p[0] == '/')
        p.erase(0, 1);
    return Root() + "/" + p;
}

void WriteFile(const std::string& windows_path, const std::string& content) {
    const std::string host = HostPath(windows_path);
    fs::create_directories(fs::path(host).parent_path());
    std::ofstream(host, std::ios::binary) << content;
}

std::optional<std::string> ReadFile(const std::string& windows_path) {
    std::ifstream in(HostPath(windows_path), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void MakeDirectory(const std::string& windows_path) {
    fs::create_directories(HostPath(windows_path));
}

void SetLastWriteTime(const std::string& windows_path, const SYSTEMTIME& utc) {
    struct tm parts = {};
    parts.tm_year = utc.wYear - 1900;
    parts.tm_mon = utc.wMonth - 1;
    parts.tm_mday = utc.wDay;
    parts.tm_hour = utc.wHour;
    parts.tm_min = utc.wMinute;
    parts.tm_sec = utc.wSecond;
    const struct timespec times[2] = {
        {0, UTIME_OMIT}, {timegm(&parts), static_cast<long>(utc.wMilliseconds) * 1'000'000}};
    utimensat(AT_FDCWD, HostPath(windows_path).c_str(), times, 0);
}

void SetFileLocked(const std::string& windows_path, bool locked) {
    if (locked) {
        Locked().insert(HostPath(windows_path));
    } else {
        Locked().erase(HostPath(windows_path));
    }
}

}  // namespace fake

namespace platform {

DWORD GetFileAttributesA(LPCSTR path) {
    fake::Log("GetFileAttributesA", path);
    if (path == nullptr)
        return INVALID_FILE_ATTRIBUTES;
    struct stat st;
    if (stat(fake::HostPath(path).c_str(), &st) != 0)
        return INVALID_FILE_ATTRIBUTES;
    return S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

BOOL GetFileAttributesExA(LPCSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID information) {
    fake::Log("GetFileAttributesExA", path, static_cast<int>(level));
    if (path == nullptr || information == nullptr || level != GetFileExInfoStandard) {
        fake::SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    struct stat st;
    if (stat(fake::HostPath(path).c_str(), &st) != 0) {
        fake::SetLastErrorOf(errno);
        if (errno == ENOENT && stat(fs::path(fake::HostPath(path)).parent_path().c_str(), &st) == 0)
            fake::SetLastErrorCode(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    const bool folder = S_ISDIR(st.st_mode);
    const uint64_t size = folder ? 0 : static_cast<uint64_t>(st.st_size);
    auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(information);
    data->dwFileAttributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    data->ftCreationTime = fake::FileTimeOf(st.st_ctim);
    data->ftLastAccessTime = fake::FileTimeOf(st.st_atim);
    data->ftLastWriteTime = fake::FileTimeOf(st.st_mtim);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size);
    return TRUE;
}

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR buffer,
                               DWORD size, LPCSTR file) {
    fake::Log("GetPrivateProfileStringA", section, key, fallback, size, file);
    if (buffer == nullptr || size == 0)
        return 0;
    std::optional<std::string> value;
    bool readable = false;
    if (section && file) {
        const std::string host = fake::HostPath(file);
        struct stat st;
        readable = !fake::IsLocked(host) && stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
        // No key: every key name of the section, each ended by NUL, then one more NUL.
        if (key == nullptr)
            return fake::CopyNameList(
                readable ? fake::ProfileKeys(host, section) : std::vector<std::string>{}, buffer,
                size);
        if (readable)
            value = fake::ProfileValue(host, section, key);
    }
    std::string text = value ? *value : std::string(fallback ? fallback : "");
    if (!value) {
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
    }
    const DWORD n = std::min<DWORD>(static_cast<DWORD>(text.size()), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

FILE* OpenTextFile(const char* path, const char* mode) {
    fake::Log("OpenTextFile", path, mode);
    if (path == nullptr || mode == nullptr)
        return nullptr;
    const std::string host = fake::HostPath(path);
    if (fake::IsLocked(host)) {
        fake::SetLastErrorOf(EACCES);
        return nullptr;
    }
    FILE* file = std::fopen(host.c_str(), mode);
    if (file == nullptr)
        fake::SetLastErrorOf(errno);
    return file;
}

}  // namespace platform
