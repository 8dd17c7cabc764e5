// The call log and the reset machinery of the fake platform.
#include <cinttypes>
#include <cstdio>
#include <mutex>

#include "area.h"

namespace fake {
namespace {

std::mutex& LogMutex() {
    static std::mutex m;
    return m;
}
std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}
std::vector<void (*)()>& ResetHooks() {
    static std::vector<void (*)()> hooks;
    return hooks;
}
std::vector<bool (*)(HANDLE)>& CloseHooks() {
    static std::vector<bool (*)(HANDLE)> hooks;
    return hooks;
}

std::string NameOf(const std::string& line) {
    return line.substr(0, line.find('('));
}

}  // namespace

ResetHook::ResetHook(void (*reset)()) {
    ResetHooks().push_back(reset);
}
CloseHook::CloseHook(bool (*close)(HANDLE)) {
    CloseHooks().push_back(close);
}

bool CloseAnyHandle(HANDLE handle) {
    for (auto close : CloseHooks()) {
        if (close(handle))
            return true;
    }
    return false;
}

void Reset() {
    for (auto reset : ResetHooks())
        reset();
    ClearCalls();
}

void ClearCalls() {
    std::lock_guard<std::mutex> lock(LogMutex());
    Log().clear();
}

std::vector<std::string> Calls() {
    std::lock_guard<std::mutex> lock(LogMutex());
    return Log();
}

std::vector<std::string> CallsOf(const std::string& name) {
    return CallsOf(std::vector<std::string>{name});
}

std::vector<std::string> CallsOf(const std::vector<std::string>& names) {
    std::vector<std::string> result;
    for (const auto& line : Calls()) {
        const std::string n = NameOf(line);
        for (const auto& wanted : names) {
            if (n == wanted) {
                result.push_back(line);
                break;
            }
        }
    }
    return result;
}

std::vector<std::string> CallsOf(std::initializer_list<const char*> names) {
    return CallsOf(std::vector<std::string>(names.begin(), names.end()));
}

void Record(const std::string& line) {
    {
        std::lock_guard<std::mutex> lock(LogMutex());
        Log().push_back(line);
    }
    NotifyCallObserver(line);
}

std::string Format(HexValue v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%" PRIX32, v.value);
    return text;
}

std::string Format(const char* text) {
    if (text == nullptr)
        return "null";
    std::string quoted = "\"";
    for (const char* p = text; *p; ++p) {
        if (*p == '\n') {
            quoted += "\\n";
        } else {
            quoted += *p;
        }
    }
    return quoted + "\"";
}

std::string Format(const std::string& text) {
    return Format(text.c_str());
}

std::string Format(int64_t v) {
    return std::to_string(v);
}
std::string Format(uint64_t v) {
    return std::to_string(v);
}

std::string Format(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

}  // namespace fake
