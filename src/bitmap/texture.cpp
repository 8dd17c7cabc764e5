// The wrapped-edge copy of the rotation's texture and its row table.
#include "bitmap/texture.h"

#include "bitmap/pixels.h"

namespace bitmap {
namespace {

// Edge copy, 512 bytes a line like the texture. Lines 0 to 7: for each texture row y, at
// Q(y) = (y / 64) * 1024 + (y % 64) * 8 the texels of columns 254, 255, 0, 1 of row y, and
// at Q(y) + 512 those of row y + 1 (row 0 after row 255). Lines 8 and 9: rows 255 and 0 whole.
constexpr int kEdgeLines = 10;
constexpr int kBottomLine = 8;
alignas(16) uint8_t edge[kEdgeLines * kTexturePitch];
TextureRows rows;

}  // namespace

const TextureRows& PrepareTexture(const uint8_t* texture) {
    const auto base = reinterpret_cast<uintptr_t>(texture);
    const auto edge_base = reinterpret_cast<uintptr_t>(edge);
    for (int y = 0; y < kTextureSize; ++y) {
        const uint8_t* line = texture + y * kTexturePitch;
        const uint8_t* next = texture + ((y + 1) & 255) * kTexturePitch;
        const int q = (y >> 6) * 2 * kTexturePitch + (y & 63) * 8;
        for (int c = 0; c < 4; ++c) {
            const int column = (254 + c) & 255;
            Store16(edge + q + 2 * c, Load16(line + 2 * column));
            Store16(edge + q + kTexturePitch + 2 * c, Load16(next + 2 * column));
        }
        rows.row[2 * y] = base + static_cast<uintptr_t>(y * kTexturePitch);
        // Column 254 lands on Q(y), column 255 on Q(y) + 2.
        rows.row[2 * y + 1] = edge_base + static_cast<uintptr_t>(q) - 2 * 254;
    }
    std::memcpy(edge + kBottomLine * kTexturePitch, texture + 255 * kTexturePitch, kTexturePitch);
    std::memcpy(edge + (kBottomLine + 1) * kTexturePitch, texture, kTexturePitch);
    rows.row[2 * 255] = edge_base + kBottomLine * kTexturePitch;
    return rows;
}

}  // namespace bitmap
