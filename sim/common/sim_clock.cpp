#include "sim_clock.h"

#include <windows.h>

namespace sim {
namespace {

uint64_t ToTicks(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

uint32_t ElapsedMs() {
    static uint64_t start = [] {
        FILETIME creation{}, exit_time{}, kernel{}, user{};
        if (GetProcessTimes(GetCurrentProcess(), &creation, &exit_time, &kernel, &user)) {
            return ToTicks(creation);
        }
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        return ToTicks(now);
    }();
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = ToTicks(now);
    return ticks > start ? static_cast<uint32_t>((ticks - start) / 10000) : 0;
}

}  // namespace sim
