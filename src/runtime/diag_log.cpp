// The diagnostic log's file: opening with its fallback, lines, rotation.
#include "runtime/diag_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "platform/kernel.h"
#include "platform/shell.h"

namespace runtime {

std::atomic<int> log_level{0};

namespace {

constexpr char kFallbackFolder[] = "\\Meridane";
constexpr char kOlderSuffix[] = ".1";
constexpr size_t kPathBytes = MAX_PATH + sizeof kFallbackFolder + sizeof kLogFileName + 4;
// How long the rotating thread waits for a line in progress on another thread before it
// leaves that thread's handle open rather than close it under the write.
constexpr int kDrainWaitMs = 100;

char path[kPathBytes];
char older_path[kPathBytes + sizeof kOlderSuffix];
std::atomic<HANDLE> file{INVALID_HANDLE_VALUE};
std::atomic<unsigned> bytes{0};  // written to the current file, as far as this module knows
std::atomic<int> writers{0};     // lines being written right now
std::atomic<bool> rotating{false};
DWORD owner_thread = 0;

HANDLE OpenForAppend(const char* name) {
    // Others may read it, write it and rename it meanwhile: the user's editor, the doctor.
    return platform::CreateFileA(name, FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool Compose(char* out, size_t size, const char* folder, const char* name) {
    const int n = std::snprintf(out, size, "%s\\%s", folder, name);
    return n > 0 && static_cast<size_t>(n) < size;
}

// Opens <local application data>\Meridane\MdnSrv.log into `path`.
HANDLE OpenFallback() {
    char folder[MAX_PATH + sizeof kFallbackFolder] = {};
    if (platform::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                                   folder) != S_OK) {
        return INVALID_HANDLE_VALUE;
    }
    folder[MAX_PATH - 1] = '\0';
    std::strcat(folder, kFallbackFolder);
    platform::CreateDirectoryA(folder, nullptr);  // there already, or made now
    if (!Compose(path, sizeof path, folder, kLogFileName))
        return INVALID_HANDLE_VALUE;
    return OpenForAppend(path);
}

// Takes the current handle out of use; closes it once no line is being written through it.
void Retire(HANDLE old) {
    if (old == INVALID_HANDLE_VALUE)
        return;
    for (int waited = 0; writers.load() != 0; ++waited) {
        if (waited == kDrainWaitMs)
            return;  // a writer that never came back (a terminated thread) keeps it
        platform::Sleep(1);
    }
    platform::CloseHandle(old);
}

void Append(const char* line, DWORD size);

// Moves the file to MdnSrv.log.1 and starts a new one. Only the thread that started the log
// rotates; any other thread drops its line instead of waiting.
bool Rotate() {
    if (platform::GetCurrentThreadId() != owner_thread || rotating.exchange(true))
        return false;
    Retire(file.exchange(INVALID_HANDLE_VALUE));
    DWORD move_error = ERROR_SUCCESS;
    if (!platform::MoveFileExA(path, older_path, MOVEFILE_REPLACE_EXISTING)) {
        move_error = platform::GetLastError();
        // Held by another program: starting afresh is the only way to stay bounded.
        platform::DeleteFileA(path);
    }
    const HANDLE fresh = OpenForAppend(path);
    const DWORD size = fresh == INVALID_HANDLE_VALUE ? 0 : platform::GetFileSize(fresh, nullptr);
    bytes.store(size == INVALID_FILE_SIZE ? 0 : size);
    file.store(fresh);
    rotating.store(false);
    if (fresh == INVALID_HANDLE_VALUE || size >= kLogLimit) {
        log_level.store(0);  // nowhere left to write: back to the cost of a branch
        return false;
    }
    if (move_error == ERROR_SUCCESS) {
        WriteLogLine("log continued; the lines before are in %s%s", kLogFileName, kOlderSuffix);
    } else {
        WriteLogLine("log started afresh: %s could not be renamed to %s%s (error %lu)",
                     kLogFileName, kLogFileName, kOlderSuffix,
                     static_cast<unsigned long>(move_error));
    }
    return true;
}

void Append(const char* line, DWORD size) {
    if (bytes.load() + size > kLogLimit && !Rotate())
        return;
    writers.fetch_add(1);
    const HANDLE h = file.load();
    DWORD written = 0;
    if (h != INVALID_HANDLE_VALUE && platform::WriteFile(h, line, size, &written, nullptr))
        bytes.fetch_add(written);
    writers.fetch_sub(1);
}

size_t Stamp(char* line) {
    SYSTEMTIME t{};
    platform::GetLocalTime(&t);
    const int n = std::snprintf(line, kLogLineSize, "%04u-%02u-%02u %02u:%02u:%02u.%03u  ",
                                t.wYear % 10000u, t.wMonth % 100u, t.wDay % 100u, t.wHour % 100u,
                                t.wMinute % 100u, t.wSecond % 100u, t.wMilliseconds % 1000u);
    return n > 0 ? static_cast<size_t>(n) : 0;
}

}  // namespace

bool StartLog(int level, const char* settings_folder) {
    StopLog();
    if (level <= 0)
        return false;
    owner_thread = platform::GetCurrentThreadId();
    HANDLE h = INVALID_HANDLE_VALUE;
    DWORD first_error = ERROR_PATH_NOT_FOUND;
    if (settings_folder != nullptr && settings_folder[0] != '\0' &&
        Compose(path, sizeof path, settings_folder, kLogFileName)) {
        h = OpenForAppend(path);
        if (h == INVALID_HANDLE_VALUE)
            first_error = platform::GetLastError();
    }
    const bool fallback = h == INVALID_HANDLE_VALUE;
    if (fallback)
        h = OpenFallback();
    if (h == INVALID_HANDLE_VALUE) {
        path[0] = '\0';
        return false;
    }
    std::snprintf(older_path, sizeof older_path, "%s%s", path, kOlderSuffix);
    const DWORD size = platform::GetFileSize(h, nullptr);
    bytes.store(size == INVALID_FILE_SIZE ? 0 : size);
    file.store(h);
    log_level.store(level > kLogCalls ? kLogCalls : level);
    if (fallback) {
        WriteLogLine(
            "log opened at level %d in the fallback folder: %s in the settings folder "
            "could not be written (error %lu)",
            log_level.load(), kLogFileName, static_cast<unsigned long>(first_error));
    } else {
        WriteLogLine("log opened at level %d", log_level.load());
    }
    return true;
}

void StopLog() {
    log_level.store(0);
    Retire(file.exchange(INVALID_HANDLE_VALUE));
    bytes.store(0);
    path[0] = '\0';
}

const char* LogPath() {
    return log_level.load() != 0 ? path : "";
}

void WriteLogLine(const char* format, ...) {
    char line[kLogLineSize];
    const size_t stamp = Stamp(line);
    const size_t room = sizeof line - stamp - 2;  // the line end always fits
    va_list arguments;
    va_start(arguments, format);
    const int n = std::vsnprintf(line + stamp, room, format, arguments);
    va_end(arguments);
    size_t length = stamp;
    if (n > 0)
        length += static_cast<size_t>(n) < room ? static_cast<size_t>(n) : room - 1;
    if (n > 0 && static_cast<size_t>(n) >= room)
        std::memcpy(line + length - 3, "...", 3);
    for (size_t i = stamp; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c < 0x20 || c == 0x7F)
            line[i] = '?';
    }
    line[length++] = '\r';
    line[length++] = '\n';
    Append(line, static_cast<DWORD>(length));
}

namespace {

// Deeper nesting than this keeps no reasons; the calls still get their lines.
constexpr int kCallDepth = 8;
char reasons[kCallDepth][160];
int call_depth = 0;

}  // namespace

void NoteWhy(const char* format, ...) {
    if (call_depth <= 0 || call_depth > kCallDepth)
        return;  // the module's own use of an operation: its caller logs what matters
    char* reason = reasons[call_depth - 1];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(reason, sizeof reasons[0], format, arguments);
    va_end(arguments);
}

void BeginCall() {
    if (call_depth < kCallDepth)
        reasons[call_depth][0] = '\0';
    ++call_depth;
}

const char* TakeWhy() {
    if (call_depth <= 0)
        return nullptr;
    --call_depth;
    if (call_depth >= kCallDepth || reasons[call_depth][0] == '\0')
        return nullptr;
    return reasons[call_depth];
}

LogText::LogText(const char* text, size_t limit) {
    if (text == nullptr) {
        std::strcpy(text_, "(null)");
        return;
    }
    if (limit > kLogTextLimit)
        limit = kLogTextLimit;
    size_t out = 0;
    text_[out++] = '"';
    size_t i = 0;
    for (; i < limit && text[i] != '\0'; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c >= 0x7F || c == '"') {
            out += static_cast<size_t>(std::snprintf(text_ + out, 5, "\\x%02X", c));
        } else {
            text_[out++] = static_cast<char>(c);
        }
    }
    text_[out++] = '"';
    if (i == limit && text[i] != '\0') {
        std::memcpy(text_ + out, "... (cut)", 10);
        return;
    }
    text_[out] = '\0';
}

}  // namespace runtime
