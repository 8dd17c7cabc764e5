// What each area of the fake platform (one source per group of calls) uses to join the shared
// machinery: the reset, handle closing, the failure switch and the call observer. Tests do not
// see this; they use the control headers in include/platform/.
#pragma once
#include <initializer_list>
#include <string>

#include "platform/fake_calls.h"

namespace fake {

// Each fake area registers how to return to its fresh state; Reset() runs them all.
struct ResetHook {
    explicit ResetHook(void (*reset)());
};
// Each fake area that hands out handles registers how to close them; CloseHandle asks each.
struct CloseHook {
    explicit CloseHook(bool (*close)(HANDLE));
};
bool CloseAnyHandle(HANDLE handle);

// Each fake area names the calls it lets Fail() fail, as the log records them.
struct Failable {
    explicit Failable(std::initializer_list<const char*> calls);
};
// Whether a test made the call recorded as `line` (what Log returned) fail.
bool Failing(const std::string& line);

// Called by Record for every line.
void NotifyCallObserver(const std::string& line);

}  // namespace fake
