// The round window of a rotation: per destination row, the drawn columns [left, right).
#pragma once
#include <cstdint>

namespace bitmap {

constexpr int kSpanRows = 1024;

// Writes rows 0 to 2b of the ellipse with half axes a and b (each 0 or more, b below 512):
// (right << 16) | left. Rows past 2b are left as they were.
void BuildSpanTable(uint32_t* table, int32_t a, int32_t b);

inline int32_t SpanLeft(uint32_t entry) {
    return static_cast<int32_t>(entry & 0xFFFFu);
}
inline int32_t SpanRight(uint32_t entry) {
    return static_cast<int32_t>(entry >> 16);
}

}  // namespace bitmap
