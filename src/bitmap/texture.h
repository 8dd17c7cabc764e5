// Addressing of the rotation's 256x256 texture, wrapped modulo 256 in both directions.
//
// A sample at texel (x, y) reads columns x to x + 2 of rows y and y + 1: the spread forms at
// P, P + 2, P + 512 and P + 514, P = texture + 512y + 2x. The pixel loops read those as two
// 8-byte rows at P and P + 512 (columns x to x + 3). Inside the texture (x <= 252, y <= 254)
// they are the gauge's pixels. Near the last columns and the last row the wrapped neighbours
// are not next to each other in the gauge's memory, so a copy of those texels is laid out
// with the same offsets, and each sample adds the distance to it:
//
//   x >= 253:          + right   (any row, the corner included)
//   y == 255, x <= 252: + bottom
//
// so every sample is four reads at one address computed without a branch.
#pragma once
#include <cstdint>

namespace bitmap {

constexpr int kTextureSize = 256;
constexpr int kTexturePitch = 512;
constexpr uint32_t kFirstRightColumn = 253;

struct TextureView {
    uintptr_t base;         // the gauge's texture
    uint32_t right_delta;   // from the texture to the copy of columns 253 to 2, per row
    uint32_t bottom_delta;  // from the texture to the copy of rows 255 and 0
};

// The byte offset of texel (x, y) from the texture, the copy's distance included.
inline uint32_t TexelOffset(const TextureView& t, uint32_t x, uint32_t y) {
    const uint32_t right = (x + (256 - kFirstRightColumn)) >> 8;  // 1 for x >= 253
    const uint32_t bottom = ((y + 1) >> 8) & ~right;              // 1 for y == 255 only
    return y * kTexturePitch + 2 * x + ((0u - right) & t.right_delta) +
           ((0u - bottom) & t.bottom_delta);
}

// Copies the texture's edge texels. Reads only the 256 rows of 512 bytes at `texture`, walked
// upward from it when `bottom_up` (a negative pitch: the top row last in memory, as a DIB
// lays it out); the copy is module-wide and valid until the next call.
TextureView PrepareTexture(const uint8_t* texture, bool bottom_up);

}  // namespace bitmap
