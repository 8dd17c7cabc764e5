// Literal scaling: 22.10 steps, the destination pointer advanced by the row skip, filters 0-3.
#include <cmath>
#include <cstring>

#include "bitmap/reference.h"

namespace ref {
namespace {

int32_t Blend(int32_t p, int32_t q, int32_t f) {
    return p + (((q - p) * f) >> 5);
}

struct Source {
    const uint8_t* pixels;
    int32_t width, height, pitch;
    Reads* reads;

    // The 16-bit pixel at column c of the row at byte offset `row` (row = r * pitch).
    uint16_t Pixel(int32_t row_index, int32_t c) const {
        if (reads->bounds == Bounds::Literal) {
            if (c >= width || row_index >= height)
                reads->outside = true;
        } else {
            if (c > width - 1)
                c = width - 1;
            if (row_index > height - 1)
                row_index = height - 1;
        }
        uint16_t v;
        std::memcpy(&v, pixels + static_cast<ptrdiff_t>(row_index) * pitch + 2 * c, 2);
        return v;
    }
    // The spread form at column c: the pixel and, for the middle field, its right neighbour.
    int32_t Spread(int32_t row_index, int32_t c) const {
        const uint32_t word =
            Pixel(row_index, c) | (static_cast<uint32_t>(Pixel(row_index, c + 1)) << 16);
        return static_cast<int32_t>(word & 0x03E07C1Fu);
    }
};

}  // namespace

std::array<int32_t, 32> EaseTable() {
    std::array<int32_t, 32> table{};
    double t = 0.0;
    for (int i = 0; i < 32; ++i) {
        table[i] =
            static_cast<int32_t>(std::floor((1.0 - std::cos(t * 3.141592653589793)) * 0.5 * 31.5));
        t += 0.03225806451612903;
    }
    return table;
}

void Stretch(const MdnSurface& source, const MdnSurface& destination, uint32_t filter,
             Reads& reads) {
    const Source src{reinterpret_cast<const uint8_t*>(source.pixels), source.width, source.height,
                     source.pitch, &reads};
    const int32_t dw = destination.width, dh = destination.height;
    const int32_t sx = (source.width * 1024) / dw;
    const int32_t sy = (source.height * 1024) / dh;
    const int32_t skip = destination.pitch - 2 * dw;
    auto* out = reinterpret_cast<uint8_t*>(destination.pixels);
    const std::array<int32_t, 32> ease = EaseTable();

    if (filter == 0) {
        const uint32_t row_limit = static_cast<uint32_t>(dh * sy + 512);
        const uint32_t column_limit = static_cast<uint32_t>(dw * sx + 512);
        if (row_limit <= 512)
            return;
        for (uint32_t y = 512; y < row_limit; y += static_cast<uint32_t>(sy)) {
            for (uint32_t x = 512; x < column_limit; x += static_cast<uint32_t>(sx)) {
                const uint16_t pixel =
                    src.Pixel(static_cast<int32_t>(y >> 10), static_cast<int32_t>(x >> 10));
                std::memcpy(out, &pixel, 2);
                out += 2;
            }
            out += skip;
        }
        return;
    }

    const uint32_t row_limit = static_cast<uint32_t>(dh * sy);
    const uint32_t column_limit = static_cast<uint32_t>(dw * sx);
    if (row_limit == 0)
        return;
    for (uint32_t y = 0; y < row_limit; y += static_cast<uint32_t>(sy)) {
        int32_t fy = static_cast<int32_t>((y >> 5) & 31);
        const auto r = static_cast<int32_t>(y >> 10);
        for (uint32_t x = 0; x < column_limit; x += static_cast<uint32_t>(sx)) {
            int32_t fx = static_cast<int32_t>((x >> 5) & 31);
            const auto c = static_cast<int32_t>(x >> 10);
            int32_t result;
            if (filter == 1) {
                const int32_t top = Blend(src.Spread(r, c), src.Spread(r, c + 1), fx) & 0x03E07C1F;
                result = Blend(top, src.Spread(r + 1, c), fy) & 0x03E07C1F;
            } else {
                if (filter == 3) {
                    fx = ease[fx];
                }
                const int32_t wy = filter == 3 ? ease[fy] : fy;
                const int32_t top = Blend(src.Spread(r, c), src.Spread(r, c + 1), fx) & 0x03E07C1F;
                const int32_t bottom =
                    Blend(src.Spread(r + 1, c), src.Spread(r + 1, c + 1), fx) & 0x03E07C1F;
                result = Blend(top, bottom, wy) & 0x03E07C1F;
            }
            const auto pixel = static_cast<uint16_t>(((result >> 16) | result) & 0xFFFF);
            std::memcpy(out, &pixel, 2);
            out += 2;
        }
        out += skip;
    }
}

}  // namespace ref
