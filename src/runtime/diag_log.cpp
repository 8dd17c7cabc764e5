// The diagnostic log's file: opening with its fallback, lines, rotation.
#include "runtime/diag_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "platform/kernel.h"
#include "platform/shell.h"
#include "platform/win_errors.h"
#include "runtime/escape_text.h"

namespace runtime {

std::atomic<int> log_level{0};

namespace {

constexpr char kOlderSuffix[] = ".1";
constexpr char kSpareSuffix[] = ".2";
// How long the rotating thread waits, in real time, for a line in progress on another thread
// before it leaves that thread's handle open rather than close it under the write.
constexpr DWORD kDrainWaitMs = 100;

char path[kLogPathSize];
char older_path[kLogPathSize + sizeof kOlderSuffix];
char spare_path[kLogPathSize + sizeof kSpareSuffix];
std::atomic<HANDLE> file{INVALID_HANDLE_VALUE};
std::atomic<unsigned> bytes{0};  // written to the current file, as far as this module knows
std::atomic<int> writers{0};     // lines being written right now
std::atomic<bool> rotating{false};
std::atomic<unsigned> limit_bytes{kLogLimit};  // set before the level turns the log on
DWORD owner_thread = 0;

HANDLE OpenForAppend(const char* name) {
    // Others may read it, write it and rename it meanwhile: the user's editor, the doctor.
    return platform::CreateFileA(name, FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Opens <local application data>\Meridane\MdnSrv.log into `path`.
HANDLE OpenInLogFolder() {
    char folder[kLogPathSize];
    if (!LogFolder(folder))
        return INVALID_HANDLE_VALUE;
    platform::CreateDirectoryA(folder, nullptr);  // there already, or made now
    if (!LogFileIn(folder, path, sizeof path))
        return INVALID_HANDLE_VALUE;
    return OpenForAppend(path);
}

// Takes the current handle out of use; closes it once no line is being written through it.
// The wait is counted by the clock, not by sleeps: one sleep lasts a whole timer tick.
void Retire(HANDLE old) {
    if (old == INVALID_HANDLE_VALUE)
        return;
    const DWORD began = platform::GetTickCount();
    while (writers.load() != 0) {
        if (platform::GetTickCount() - began >= kDrainWaitMs)
            return;  // a writer that never came back (a terminated thread) keeps it
        platform::Sleep(1);
    }
    platform::CloseHandle(old);
}

// One finished line through the current handle, whatever the file's size.
void Put(const char* line, DWORD size) {
    writers.fetch_add(1);
    const HANDLE h = file.load();
    DWORD written = 0;
    if (h != INVALID_HANDLE_VALUE && platform::WriteFile(h, line, size, &written, nullptr))
        bytes.fetch_add(written);
    writers.fetch_sub(1);
}

size_t Stamp(char* line);
size_t Format(char* line, const char* format, va_list arguments);

// A line of the log's own that must not rotate: written past the limit if need be.
__attribute__((format(printf, 1, 2))) void PutOwnLine(const char* format, ...) {
    char line[kLogLineSize];
    va_list arguments;
    va_start(arguments, format);
    const size_t length = Format(line, format, arguments);
    va_end(arguments);
    Put(line, static_cast<DWORD>(length));
}

// Moves the full file aside and starts a new one. The older lines go to ".1", or to ".2" when
// ".1" cannot be replaced (a viewer holds it, it is read-only); when neither works the file is
// kept as it is and the log stops there: its lines are the newest, the ones support needs.
// Only the thread that started the log rotates; any other thread drops its line instead of
// waiting. Its own lines are written past the limit, never through another rotation.
bool Rotate() {
    if (platform::GetCurrentThreadId() != owner_thread || rotating.exchange(true))
        return false;
    Retire(file.exchange(INVALID_HANDLE_VALUE));
    const char* moved_to = kOlderSuffix;
    DWORD older_error = ERROR_SUCCESS;
    if (!platform::MoveFileExA(path, older_path, MOVEFILE_REPLACE_EXISTING)) {
        older_error = platform::GetLastError();
        moved_to = platform::MoveFileExA(path, spare_path, MOVEFILE_REPLACE_EXISTING) ? kSpareSuffix
                                                                                      : nullptr;
    }
    if (moved_to == nullptr) {
        const DWORD spare_error = platform::GetLastError();
        file.store(OpenForAppend(path));
        PutOwnLine(
            "log stopped: %s is full and could not be renamed to %s%s (error %lu) nor to "
            "%s%s (error %lu); the lines above are the last",
            kLogFileName, kLogFileName, kOlderSuffix, static_cast<unsigned long>(older_error),
            kLogFileName, kSpareSuffix, static_cast<unsigned long>(spare_error));
        log_level.store(0);  // back to the cost of a branch
        Retire(file.exchange(INVALID_HANDLE_VALUE));
        rotating.store(false);
        return false;
    }
    const HANDLE fresh = OpenForAppend(path);
    const DWORD size = fresh == INVALID_HANDLE_VALUE ? 0 : platform::GetFileSize(fresh, nullptr);
    bytes.store(size == INVALID_FILE_SIZE ? 0 : size);
    file.store(fresh);
    if (fresh == INVALID_HANDLE_VALUE || size >= limit_bytes) {
        log_level.store(0);  // nowhere left to write: back to the cost of a branch
        rotating.store(false);
        return false;
    }
    if (older_error == ERROR_SUCCESS) {
        PutOwnLine("log continued in %s; the lines before are in %s%s",
                   LogText(path, kLogTextLimit).c_str(), kLogFileName, kOlderSuffix);
    } else {
        PutOwnLine(
            "log continued in %s; the lines before are in %s%s, as %s%s could not be "
            "replaced (error %lu)",
            LogText(path, kLogTextLimit).c_str(), kLogFileName, kSpareSuffix, kLogFileName,
            kOlderSuffix, static_cast<unsigned long>(older_error));
    }
    rotating.store(false);
    return true;
}

void Append(const char* line, DWORD size) {
    if (bytes.load() + size > limit_bytes && !Rotate())
        return;
    Put(line, size);
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

bool LogFolder(char* folder) {
    char local[MAX_PATH + 1] = {};
    if (platform::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                                   local) != S_OK) {
        return false;
    }
    local[MAX_PATH] = '\0';
    return LogFolderBelow(local, folder);
}

bool StartLog(int level, const char* settings_folder, unsigned limit) {
    StopLog();
    if (level <= 0)
        return false;
    owner_thread = platform::GetCurrentThreadId();
    limit_bytes = limit;
    HANDLE h = OpenInLogFolder();
    const DWORD first_error = h == INVALID_HANDLE_VALUE ? platform::GetLastError() : 0;
    const bool fallback = h == INVALID_HANDLE_VALUE;
    if (fallback && settings_folder != nullptr && settings_folder[0] != '\0' &&
        LogFileIn(settings_folder, path, sizeof path)) {
        h = OpenForAppend(path);
    }
    if (h == INVALID_HANDLE_VALUE) {
        path[0] = '\0';
        return false;
    }
    std::snprintf(older_path, sizeof older_path, "%s%s", path, kOlderSuffix);
    std::snprintf(spare_path, sizeof spare_path, "%s%s", path, kSpareSuffix);
    const DWORD size = platform::GetFileSize(h, nullptr);
    bytes.store(size == INVALID_FILE_SIZE ? 0 : size);
    file.store(h);
    log_level.store(level > kLogCalls ? kLogCalls : level);
    if (fallback) {
        WriteLogLine(
            "log opened at level %d in %s, in the settings folder: the user's local "
            "application-data folder could not be written (error %lu)",
            log_level.load(), LogText(path, kLogTextLimit).c_str(),
            static_cast<unsigned long>(first_error));
    } else {
        WriteLogLine("log opened at level %d in %s", log_level.load(),
                     LogText(path, kLogTextLimit).c_str());
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

namespace {

size_t Format(char* line, const char* format, va_list arguments) {
    const size_t stamp = Stamp(line);
    const size_t room = kLogLineSize - stamp - 2;  // the line end always fits
    const int n = std::vsnprintf(line + stamp, room, format, arguments);
    size_t length = stamp;
    if (n > 0)
        length += CutEscaped(line + stamp, static_cast<size_t>(n), room);
    for (size_t i = stamp; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c < 0x20 || c == 0x7F)
            line[i] = '?';
    }
    line[length++] = '\r';
    line[length++] = '\n';
    return length;
}

}  // namespace

void WriteLogLine(const char* format, ...) {
    char line[kLogLineSize];
    va_list arguments;
    va_start(arguments, format);
    const size_t length = Format(line, format, arguments);
    va_end(arguments);
    Append(line, static_cast<DWORD>(length));
}

namespace {

// Deeper nesting than this keeps no reasons; the calls still get their lines.
constexpr int kCallDepth = 8;
char reasons[kCallDepth][kLogReasonSize];
int call_depth = 0;

}  // namespace

void NoteWhy(const char* format, ...) {
    if (call_depth <= 0 || call_depth > kCallDepth)
        return;  // the module's own use of an operation: its caller logs what matters
    char* reason = reasons[call_depth - 1];
    va_list arguments;
    va_start(arguments, format);
    const int n = std::vsnprintf(reason, kLogReasonSize, format, arguments);
    va_end(arguments);
    if (n > 0)
        CutEscaped(reason, static_cast<size_t>(n), kLogReasonSize);
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
    if (limit > kLogTextLimit)
        limit = kLogTextLimit;
    EscapeText(text_, sizeof text_, text, limit + 1, limit);
}

}  // namespace runtime
