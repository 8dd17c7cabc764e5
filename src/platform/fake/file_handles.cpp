// Fake files written by handle, below the same temporary folder as the fake's other files. A
// test can fill the disk, hold a file open as another program would (SetFileLocked: on a file,
// a sharing violation; on a folder, access denied for everything below it), and move the
// user's local application-data folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <condition_variable>
#include <map>
#include <mutex>

#include "area.h"
#include "platform/fake_files.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "platform/shell.h"
#include "platform/win_errors.h"

namespace fake {
namespace {

constexpr char kDefaultLocalAppData[] = "C:\\Users\\user\\AppData\\Local";

struct State {
    std::map<uintptr_t, int> open;  // handle -> descriptor
    uintptr_t next = 0x00F10010;
    bool disk_full = false;
    std::optional<std::string> local_app_data = std::string(kDefaultLocalAppData);
};

std::mutex& Guard() {
    static std::mutex m;
    return m;
}
State& S() {
    static State state;
    return state;
}

thread_local DWORD last_error = ERROR_SUCCESS;

struct Hold {
    std::mutex mutex;
    std::condition_variable released;
    bool on = false;
    pid_t holder = 0;
    int waiting = 0;
};
Hold& Writes() {
    static Hold hold;
    return hold;
}

void WaitWhileHeld() {
    Hold& h = Writes();
    std::unique_lock<std::mutex> lock(h.mutex);
    if (!h.on || h.holder == static_cast<pid_t>(syscall(SYS_gettid)))
        return;
    ++h.waiting;
    h.released.wait(lock, [&] { return !h.on; });
    --h.waiting;
}

ResetHook reset_handles([] {
    HoldOtherThreadsWrites(false);
    std::lock_guard<std::mutex> lock(Guard());
    for (const auto& [handle, fd] : S().open)
        ::close(fd);
    S() = State{};
});

bool CloseFile(HANDLE handle) {
    std::lock_guard<std::mutex> lock(Guard());
    const auto it = S().open.find(reinterpret_cast<uintptr_t>(handle));
    if (it == S().open.end())
        return false;
    ::close(it->second);
    S().open.erase(it);
    return true;
}
CloseHook close_files(CloseFile);

// The error Windows gives for a path: a locked file is held by another program, a locked
// folder (or anything below it) is not writable.
DWORD Refusal(const std::string& windows_path) {
    std::string host = HostPath(windows_path);
    if (IsPathLocked(host))
        return ERROR_SHARING_VIOLATION;
    for (auto slash = host.rfind('/'); slash != std::string::npos && slash > 0;
         slash = host.rfind('/', slash - 1)) {
        if (IsPathLocked(host.substr(0, slash)))
            return ERROR_ACCESS_DENIED;
    }
    return ERROR_SUCCESS;
}

DWORD ErrorOf(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EEXIST:
            return ERROR_ALREADY_EXISTS;
        case ENOSPC:
            return ERROR_DISK_FULL;
        default:
            return ERROR_ACCESS_DENIED;
    }
}

// A path that is not there: ERROR_FILE_NOT_FOUND when its folder is, ERROR_PATH_NOT_FOUND
// when the folder is missing too; any other error as ErrorOf says.
DWORD MissingOr(const std::string& windows_path, int error) {
    if (error != ENOENT)
        return ErrorOf(error);
    struct stat st;
    const std::string host = HostPath(windows_path);
    const std::string folder = host.substr(0, host.rfind('/'));
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? ERROR_FILE_NOT_FOUND
                                                                   : ERROR_PATH_NOT_FOUND;
}

BOOL FailWith(DWORD error) {
    last_error = error;
    return FALSE;
}
HANDLE FailHandle(DWORD error) {
    last_error = error;
    return INVALID_HANDLE_VALUE;
}

}  // namespace

void SetLastErrorOf(int error) {
    last_error = ErrorOf(error);
}
void SetLastErrorCode(DWORD error) {
    last_error = error;
}

void SetDiskFull(bool full) {
    std::lock_guard<std::mutex> lock(Guard());
    S().disk_full = full;
}

void SetLocalAppDataFolder(std::optional<std::string> windows_path) {
    std::lock_guard<std::mutex> lock(Guard());
    S().local_app_data = std::move(windows_path);
}

void HoldOtherThreadsWrites(bool hold) {
    {
        std::lock_guard<std::mutex> lock(Writes().mutex);
        Writes().on = hold;
        Writes().holder = static_cast<pid_t>(syscall(SYS_gettid));
    }
    Writes().released.notify_all();
}

int WritesHeld() {
    std::lock_guard<std::mutex> lock(Writes().mutex);
    return Writes().waiting;
}

int OpenFileHandleCount() {
    std::lock_guard<std::mutex> lock(Guard());
    return static_cast<int>(S().open.size());
}

}  // namespace fake

namespace platform {

DWORD GetLastError() {
    return fake::last_error;
}

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD disposition,
                   DWORD, HANDLE) {
    fake::Log("CreateFileA", path, fake::Hex(access), share, disposition);
    if (path == nullptr)
        return fake::FailHandle(ERROR_PATH_NOT_FOUND);
    if (const DWORD refused = fake::Refusal(path); refused != ERROR_SUCCESS)
        return fake::FailHandle(refused);
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC;
    if (disposition == CREATE_ALWAYS)
        flags |= O_TRUNC;
    if ((access & FILE_APPEND_DATA) != 0)
        flags |= O_APPEND;
    const std::string host = fake::HostPath(path);
    struct stat st;
    const bool existed = ::stat(host.c_str(), &st) == 0;
    const int fd = ::open(host.c_str(), flags, 0644);
    if (fd < 0)
        return fake::FailHandle(fake::ErrorOf(errno));
    std::lock_guard<std::mutex> lock(fake::Guard());
    const uintptr_t handle = fake::S().next++;
    fake::S().open[handle] = fd;
    // OPEN_ALWAYS and CREATE_ALWAYS succeed either way and say which it was.
    fake::last_error = existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
    return reinterpret_cast<HANDLE>(handle);
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD size, DWORD* written, LPOVERLAPPED) {
    if (written != nullptr)
        *written = 0;
    fake::WaitWhileHeld();
    int fd = -1;
    {
        std::lock_guard<std::mutex> lock(fake::Guard());
        const auto it = fake::S().open.find(reinterpret_cast<uintptr_t>(file));
        if (it == fake::S().open.end())
            return fake::FailWith(ERROR_INVALID_HANDLE);
        if (fake::S().disk_full)
            return fake::FailWith(ERROR_DISK_FULL);
        fd = it->second;
    }
    const ssize_t n = ::write(fd, buffer, size);
    if (n < 0)
        return fake::FailWith(fake::ErrorOf(errno));
    if (written != nullptr)
        *written = static_cast<DWORD>(n);
    return TRUE;
}

DWORD GetFileSize(HANDLE file, DWORD* size_high) {
    std::lock_guard<std::mutex> lock(fake::Guard());
    const auto it = fake::S().open.find(reinterpret_cast<uintptr_t>(file));
    struct stat st;
    if (it == fake::S().open.end() || ::fstat(it->second, &st) != 0) {
        fake::last_error = ERROR_INVALID_HANDLE;
        return INVALID_FILE_SIZE;
    }
    if (size_high != nullptr)
        *size_high = 0;
    return static_cast<DWORD>(st.st_size);
}

BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    fake::Log("MoveFileExA", from, to, flags);
    if (from == nullptr || to == nullptr)
        return fake::FailWith(ERROR_PATH_NOT_FOUND);
    for (const char* path : {from, to}) {
        if (const DWORD refused = fake::Refusal(path); refused != ERROR_SUCCESS)
            return fake::FailWith(refused);
    }
    const std::string target = fake::HostPath(to);
    struct stat st;
    if ((flags & MOVEFILE_REPLACE_EXISTING) == 0 && ::stat(target.c_str(), &st) == 0)
        return fake::FailWith(ERROR_ALREADY_EXISTS);
    if (std::rename(fake::HostPath(from).c_str(), target.c_str()) != 0)
        return fake::FailWith(fake::MissingOr(from, errno));
    return TRUE;
}

BOOL DeleteFileA(LPCSTR path) {
    fake::Log("DeleteFileA", path);
    if (path == nullptr)
        return fake::FailWith(ERROR_PATH_NOT_FOUND);
    if (const DWORD refused = fake::Refusal(path); refused != ERROR_SUCCESS)
        return fake::FailWith(refused);
    if (::unlink(fake::HostPath(path).c_str()) != 0)
        return fake::FailWith(fake::MissingOr(path, errno));
    return TRUE;
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) {
    fake::Log("CreateDirectoryA", path);
    if (path == nullptr)
        return fake::FailWith(ERROR_PATH_NOT_FOUND);
    if (const DWORD refused = fake::Refusal(path); refused != ERROR_SUCCESS)
        return fake::FailWith(ERROR_ACCESS_DENIED);
    if (::mkdir(fake::HostPath(path).c_str(), 0755) != 0)
        return fake::FailWith(fake::ErrorOf(errno));
    return TRUE;
}

HRESULT SHGetFolderPathA(HWND, int folder, HANDLE, DWORD, LPSTR path) {
    fake::Log("SHGetFolderPathA", folder);
    std::optional<std::string> local;
    {
        std::lock_guard<std::mutex> lock(fake::Guard());
        local = fake::S().local_app_data;
    }
    if (path == nullptr || folder != CSIDL_LOCAL_APPDATA || !local || local->size() >= MAX_PATH)
        return E_FAIL;
    fake::MakeDirectory(*local);  // Windows' own folder: it always exists
    std::memcpy(path, local->c_str(), local->size() + 1);
    return S_OK;
}

}  // namespace platform
