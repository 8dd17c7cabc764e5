#include "fs9_log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <deque>

#include "sim_clock.h"

namespace fs9 {
namespace {

// The log is written from the main thread and the watchdog; the lock keeps lines whole.
struct LogState {
    CRITICAL_SECTION lock;
    std::deque<std::string> tail;
    std::string last_action = "starting";
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
    const std::string out = line + "\n";
    DWORD written = 0;
    HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    if (handle && handle != INVALID_HANDLE_VALUE) {
        WriteFile(handle, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
    }
}

void Emit(const char* text) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%6u ms] ", static_cast<unsigned>(sim::ElapsedMs()));
    const std::string line = std::string(stamp) + text;
    Guard guard;
    WriteLine(line);
    State().tail.push_back(line);
    if (State().tail.size() > 40)
        State().tail.pop_front();
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

void SetLastAction(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Guard guard;
    State().last_action = text;
}

std::string LastAction() {
    Guard guard;
    return State().last_action;
}

void PrintTail(unsigned count) {
    Guard guard;
    WriteLine("---- last lines of the log ----");
    const auto& tail = State().tail;
    const size_t from = tail.size() > count ? tail.size() - count : 0;
    for (size_t i = from; i < tail.size(); ++i)
        WriteLine("  " + tail[i]);
    WriteLine("-------------------------------");
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
