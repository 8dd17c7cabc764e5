// Addressing of the rotation's 256x256 texture, wrapped modulo 256 in both directions.
//
// A sample at (x, y) reads the spread forms at texel (x, y), (x + 1, y), (x, y + 1) and
// (x + 1, y + 1), and each spread form also takes its right-hand neighbour: columns x to x + 2
// of rows y and y + 1. Inside the texture (x <= 253, y <= 254) those are four 32-bit reads at
// P, P + 2, P + 512 and P + 514. For the last two columns and the last row the wrapped
// neighbours are not next to each other in the gauge's memory, so a small copy of those
// texels is laid out with the same offsets, and a 512-entry row table sends each sample to
// the texture or to the copy without a branch:
//
//   P = row[2y + (x >= 254)] + 2x
#pragma once
#include <cstdint>

namespace bitmap {

constexpr int kTextureSize = 256;
constexpr int kTexturePitch = 512;

struct TextureRows {
    uintptr_t row[2 * kTextureSize];
};

inline uint32_t TextureRowIndex(uint32_t x, uint32_t v) {
    return ((v >> 15) & 0x1FEu) | ((x + 2) >> 8);
}

// Copies the texture's edge texels and fills the row table for this texture. Reads only
// the 256x256 pixels at `texture`. The result is module-wide and valid until the next call.
const TextureRows& PrepareTexture(const uint8_t* texture);

}  // namespace bitmap
