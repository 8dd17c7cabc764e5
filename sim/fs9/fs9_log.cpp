#include "fs9_log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "sim_clock.h"

namespace fs9 {
namespace {

// The log is written from the main thread and the watchdog; the lock keeps lines whole.
struct LogState {
    CRITICAL_SECTION lock;
    std::vector<std::string> actions{"starting"};
    DWORD action_thread = 0;  // 0: any thread
    unsigned checks = 0;
    unsigned failures = 0;
    LogState() { InitializeCriticalSection(&lock); }
};
LogState& State() {
    static LogState state;
    return state;
}

struct Guard {
    Guard() { EnterCriticalSection(&State().lock); }
    ~Guard() { LeaveCriticalSection(&State().lock); }
};

void WriteLine(const std::string& line) {
    WriteOut(line + "\n", false);
}

void Emit(const char* text) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%6u ms] ", static_cast<unsigned>(sim::ElapsedMs()));
    const std::string line = std::string(stamp) + text;
    Guard guard;
    WriteLine(line);
}

bool OnActionThread() {
    const DWORD thread = State().action_thread;
    return thread == 0 || thread == GetCurrentThreadId();
}

}  // namespace

void Log(const char* format, ...) {
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Emit(text);
}

bool Check(bool ok, const char* what, const char* expected, const char* got) {
    {
        Guard guard;
        ++State().checks;
        if (!ok)
            ++State().failures;
    }
    if (ok) {
        Log("ok   %s: %s", what, got ? got : "");
    } else {
        Log("FAIL %s: expected %s, got %s", what, expected ? expected : "", got ? got : "");
    }
    return ok;
}

bool CheckU32(const char* what, uint32_t expected, uint32_t got) {
    char e[32], g[32];
    std::snprintf(e, sizeof e, "%lu", static_cast<unsigned long>(expected));
    std::snprintf(g, sizeof g, "%lu", static_cast<unsigned long>(got));
    return Check(expected == got, what, e, g);
}

unsigned CheckCount() {
    Guard guard;
    return State().checks;
}

unsigned Failures() {
    Guard guard;
    return State().failures;
}

void TrackActionsOn(uint32_t thread_id) {
    Guard guard;
    State().action_thread = thread_id;
}

namespace {

std::string FormatAction(const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    return text;
}

}  // namespace

void SetLastAction(const char* format, ...) {
    if (!OnActionThread())
        return;
    va_list args;
    va_start(args, format);
    const std::string text = FormatAction(format, args);
    va_end(args);
    Guard guard;
    State().actions.back() = text;
}

ActionScope::ActionScope(const char* format, ...) {
    if (!OnActionThread())
        return;
    va_list args;
    va_start(args, format);
    std::string text = FormatAction(format, args);
    va_end(args);
    Guard guard;
    State().actions.push_back(std::move(text));
    pushed_ = true;
}

ActionScope::~ActionScope() {
    if (!pushed_)
        return;
    Guard guard;
    if (State().actions.size() > 1)
        State().actions.pop_back();
}

std::string LastAction() {
    Guard guard;
    const std::vector<std::string>& actions = State().actions;
    std::string text;
    // The innermost few say what ran; the outermost says in which part of the run.
    for (size_t i = actions.size(), shown = 0; i-- > 0; ++shown) {
        if (shown == 4 && i > 0) {
            text += "; within: ...";
            i = 1;
            continue;
        }
        text += (shown == 0 ? "" : "; within: ") + actions[i];
    }
    return text;
}

void WriteOut(const std::string& text, bool to_error) {
    DWORD written = 0;
    HANDLE handle = GetStdHandle(to_error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (handle && handle != INVALID_HANDLE_VALUE)
        WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string Escaped(const char* text) {
    std::string out;
    for (; text && *text; ++text) {
        if (*text == '\n') {
            out += "\\n";
        } else if (*text == '\r') {
            out += "\\r";
        } else {
            out += *text;
        }
    }
    return out;
}

}  // namespace fs9
