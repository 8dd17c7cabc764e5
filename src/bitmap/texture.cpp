// The wrapped-edge copy of the rotation's texture.
#include "bitmap/texture.h"

#include "bitmap/pixels.h"

namespace bitmap {

static_assert(sizeof(void*) == 4, "the distance to the copy wraps in 32-bit addresses");

namespace {

// Lines of 512 bytes like the texture. Lines 0 to 256: at the start of line y the texels of
// columns 253, 254, 255, 0, 1, 2 of row y % 256 (so a sample of row y reads its lower row on
// line y + 1). Lines 257 and 258: rows 255 and 0 whole. Only 12 bytes of most lines are
// used; the rest is never touched and costs no memory.
constexpr int kRightLines = kTextureSize + 1;
constexpr int kRightTexels = 6;
alignas(64) uint8_t edge[(kRightLines + 2) * kTexturePitch];
uint8_t* const bottom_copy = edge + kRightLines * kTexturePitch;

// A bottom-up texture turned top-down, so that the loops always find the row below 512 bytes
// further on. Rare (gauges draw top-down), so a whole copy is cheap enough there.
alignas(64) uint8_t upright[kTextureSize * kTexturePitch];

}  // namespace

TextureView PrepareTexture(const uint8_t* texture, bool bottom_up) {
    if (bottom_up) {
        for (int y = 0; y < kTextureSize; ++y) {
            std::memcpy(upright + y * kTexturePitch,
                        texture - static_cast<ptrdiff_t>(y) * kTexturePitch, kTexturePitch);
        }
        texture = upright;
    }
    for (int y = 0; y < kRightLines; ++y) {
        const uint8_t* row = texture + (y & 255) * kTexturePitch;
        uint8_t* line = edge + y * kTexturePitch;
        for (int c = 0; c < kRightTexels; ++c) {
            const int column = (static_cast<int>(kFirstRightColumn) + c) & 255;
            Store16(line + 2 * c, Load16(row + 2 * column));
        }
    }
    std::memcpy(bottom_copy, texture + 255 * kTexturePitch, kTexturePitch);
    std::memcpy(bottom_copy + kTexturePitch, texture, kTexturePitch);
    const auto base = reinterpret_cast<uintptr_t>(texture);
    TextureView view;
    view.base = base;
    // Addresses wrap in 32 bits: base + offset + delta lands in the copy.
    view.right_delta =
        static_cast<uint32_t>(reinterpret_cast<uintptr_t>(edge) - base - 2 * kFirstRightColumn);
    view.bottom_delta = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(bottom_copy) - base -
                                              255 * kTexturePitch);
    return view;
}

}  // namespace bitmap
