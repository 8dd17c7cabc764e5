// The fake platform's call log, failure switch and call observer: what every other control
// header (one beside each contract: fake_kernel.h, fake_user.h, fake_registry.h, fake_shell.h,
// fake_version.h, fake_clock.h, fake_files.h, fake_crt.h) shares.
//
// Every platform call appends one line to the call log, "Name(arg, arg, ...)": integers in
// decimal, handles and addresses as 0x-prefixed hex, texts in double quotes (only line feeds
// escaped, as \n), flag words by name ("MF_SEPARATOR|MF_DISABLED", bits without a name as hex).
// Tests compare the log with a table of expected lines.
//
// Fail("Name") makes the calls the log records as "Name" fail from then on, as Windows reports
// that call failing, until Fail("Name", false) or Reset(). Each control header lists which of
// its calls can fail and how they answer.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/win_types.h"

namespace fake {

// ---- the call log -------------------------------------------------------------------------

// Everything back to a fresh machine: empty log, no failures, modules, windows, keys, files...
void Reset();
void ClearCalls();
std::vector<std::string> Calls();
// The lines whose function name is `name` (the part before the parenthesis).
std::vector<std::string> CallsOf(const std::string& name);
// The lines whose function name is one of `names`, in order.
std::vector<std::string> CallsOf(const std::vector<std::string>& names);
std::vector<std::string> CallsOf(std::initializer_list<const char*> names);
void Record(const std::string& line);

struct HexValue {
    uint32_t value;
};
inline HexValue Hex(uint32_t v) {
    return HexValue{v};
}
std::string Format(HexValue v);
std::string Format(const char* text);  // quoted, or null
std::string Format(const std::string& text);
std::string Format(int64_t v);
std::string Format(uint64_t v);
std::string Format(double v);
template <class T>
std::string Format(T* p) {
    return Format(Hex(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p))));
}
template <class T>
requires std::is_integral_v<T> std::string Format(T v) {
    if constexpr (std::is_signed_v<T>) {
        return Format(static_cast<int64_t>(v));
    } else {
        return Format(static_cast<uint64_t>(v));
    }
}
inline std::string Format(char* text) {
    return Format(static_cast<const char*>(text));
}

// Records "function(args...)" and returns the line.
template <class... A>
std::string Log(const char* function, const A&... args) {
    std::string line = function;
    line += '(';
    bool first = true;
    ((line += (first ? "" : ", "), line += Format(args), first = false), ...);
    line += ')';
    Record(line);
    return line;
}

// ---- failures -----------------------------------------------------------------------------

// Makes the calls `call` names fail (or, with `fails` false, succeed again). `call` is a
// function name as the log records it ("RegCreateKeyExA"), or that name followed by its first
// arguments as the log writes them, to fail only the calls whose line begins so:
// "SetWindowsHookExA(4" fails the hooks of type 4 alone. A name no fake call can fail under
// throws std::invalid_argument, so a misspelt switch does not pass silently.
void Fail(const std::string& call, bool fails = true);

// ---- call observer (queries and simulator internals) --------------------------------------

// Runs `observer` with each call's log line while the call is still in progress (after its
// arguments were recorded, before it returns), so a test can look at the module's state at
// that moment. An empty function removes it; Reset() removes it too.
void SetCallObserver(std::function<void(const std::string& line)> observer);

}  // namespace fake
