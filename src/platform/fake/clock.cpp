// Fake millisecond clock: time moves only when a test moves it.
#include <atomic>
#include <cstdint>

#include "platform/clock.h"
#include "platform/win_errors.h"
#include "area.h"
#include "platform/fake_clock.h"
#include "platform/kernel.h"

namespace fake {
namespace {
std::atomic<DWORD> now{0};
std::atomic<LONG> bias_minutes{0};
ResetHook reset_clock([] {
    now = 0;
    bias_minutes = 0;
});

constexpr uint64_t kTicksPerSecond = 10'000'000;  // a file time counts 100 ns steps
constexpr uint64_t kTicksPerDay = 86'400 * kTicksPerSecond;

uint64_t Ticks(const FILETIME& t) {
    return static_cast<uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime;
}
FILETIME FileTime(uint64_t ticks) {
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}
}  // namespace

void SetTime(DWORD milliseconds) {
    now = milliseconds;
}
void AdvanceTime(DWORD milliseconds) {
    now += milliseconds;
}
void SetTimeZoneBias(LONG minutes) {
    bias_minutes = minutes;
}

}  // namespace fake

namespace platform {

// Not logged: the workers read the clock on every pass.
DWORD timeGetTime() {
    return fake::now.load();
}

// Not logged either. 5 March 2024, 10:00 plus the fake clock, so lines of a test are in order.
void GetLocalTime(SYSTEMTIME* time) {
    const DWORD ms = fake::now.load();
    const DWORD seconds = 10 * 3600 + ms / 1000;
    *time = SYSTEMTIME{2024,
                       3,
                       2,
                       static_cast<WORD>(5 + seconds / 86400),
                       static_cast<WORD>(seconds / 3600 % 24),
                       static_cast<WORD>(seconds / 60 % 60),
                       static_cast<WORD>(seconds % 60),
                       static_cast<WORD>(ms % 1000)};
}

}  // namespace platform

namespace platform {

BOOL FileTimeToLocalFileTime(const FILETIME* file_time, FILETIME* local_file_time) {
    const uint64_t utc = fake::Ticks(*file_time);
    const int64_t shift = -static_cast<int64_t>(fake::bias_minutes.load()) * 60 *
                          static_cast<int64_t>(fake::kTicksPerSecond);
    if ((shift < 0 && utc < static_cast<uint64_t>(-shift)) ||
        (shift > 0 && utc > UINT64_MAX - static_cast<uint64_t>(shift))) {
        fake::SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *local_file_time = fake::FileTime(utc + static_cast<uint64_t>(shift));
    return TRUE;
}

// Days since 1 January 1601 to the calendar (the proleptic Gregorian one Windows counts in).
BOOL FileTimeToSystemTime(const FILETIME* file_time, SYSTEMTIME* system_time) {
    const uint64_t ticks = fake::Ticks(*file_time);
    if (ticks > static_cast<uint64_t>(INT64_MAX)) {
        fake::SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const uint64_t days = ticks / fake::kTicksPerDay;
    const uint64_t in_day = ticks % fake::kTicksPerDay;
    // Shifted to years that start in March, so the leap day ends a year.
    const int64_t shifted = static_cast<int64_t>(days) + 306;  // 1600-03-01 to 1601-01-01
    const int64_t era = shifted / 146097;
    const int64_t day_of_era = shifted - era * 146097;
    const int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const int64_t day_of_year =
        day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const int64_t month_index = (5 * day_of_year + 2) / 153;  // 0 is March
    const int64_t day = day_of_year - (153 * month_index + 2) / 5 + 1;
    const int64_t month = month_index < 10 ? month_index + 3 : month_index - 9;
    const int64_t year = 1600 + era * 400 + year_of_era + (month <= 2 ? 1 : 0);
    const uint64_t seconds = in_day / fake::kTicksPerSecond;
    *system_time = SYSTEMTIME{static_cast<WORD>(year),
                              static_cast<WORD>(month),
                              static_cast<WORD>((days + 1) % 7),  // 1601-01-01 was a Monday
                              static_cast<WORD>(day),
                              static_cast<WORD>(seconds / 3600),
                              static_cast<WORD>(seconds / 60 % 60),
                              static_cast<WORD>(seconds % 60),
                              static_cast<WORD>(in_day % fake::kTicksPerSecond / 10'000)};
    return TRUE;
}

}  // namespace platform
