// How long the bridge waits before its next try at the broker: doubling from a tenth of a
// second to a cap of one second. The cap is short because a cockpit's broker is on the same
// network, and a mirror should catch up within two seconds of the broker's return.
#pragma once
#include <cstdint>

namespace bridge {

constexpr uint32_t kFirstRetryMs = 100;
constexpr uint32_t kRetryCapMs = 1000;

constexpr uint32_t NextRetryMs(uint32_t last_ms) {
    if (last_ms < kFirstRetryMs)
        return kFirstRetryMs;
    return last_ms >= kRetryCapMs / 2 ? kRetryCapMs : last_ms * 2;
}

}  // namespace bridge
