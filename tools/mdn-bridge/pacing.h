// The bridge's clock and its sampling beat: milliseconds from QueryPerformanceCounter (Windows'
// tick count moves in 15.6 ms steps), and a waitable timer set for each beat's deadline, so
// late beats do not add up.
#pragma once
#include <windows.h>

#include <cstdint>

namespace bridge {

// Milliseconds on this process's clock (wraps after 49 days).
uint32_t NowMs();

class Pacer {
  public:
    explicit Pacer(unsigned per_second);
    ~Pacer();
    Pacer(const Pacer&) = delete;
    Pacer& operator=(const Pacer&) = delete;
    // Waits for the next beat; a beat already missed is skipped, not made up.
    void Wait();

  private:
    HANDLE timer_;
    LONGLONG frequency_;
    LONGLONG period_;  // in counter units
    LONGLONG next_;
};

}  // namespace bridge
