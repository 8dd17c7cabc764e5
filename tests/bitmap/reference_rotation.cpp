// Literal rotation: single-precision steps, the 16.16 walk and the midpoint span tracer.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "bitmap/reference.h"

namespace ref {
namespace {

int32_t Blend(int32_t p, int32_t q, int32_t f) {
    return p + (((q - p) * f) >> 5);
}

uint16_t Pixel(const uint8_t* texture, int x, int y) {
    uint16_t v;
    std::memcpy(&v, texture + 2 * x + 512 * y, 2);
    return v;
}

// The spread form at texel (x, y) of the texture, x up to 257 and y up to 256.
int32_t SpreadAt(const uint8_t* texture, int x, int y, Reads& reads) {
    uint32_t word;
    if (reads.bounds == Bounds::Literal) {
        if (x + 1 > 255 || y > 255)
            reads.outside = true;
        std::memcpy(&word, texture + 2 * x + 512 * y, 4);
    } else {
        word = Pixel(texture, x & 255, y & 255) |
               (static_cast<uint32_t>(Pixel(texture, (x + 1) & 255, y & 255)) << 16);
    }
    return static_cast<int32_t>(word & 0x03E07C1Fu);
}

}  // namespace

std::vector<uint32_t> SpanTable(int32_t a, int32_t b) {
    std::vector<uint32_t> table(2 * b + 1, 0xDEADBEEFu);
    const int64_t a2 = int64_t{a} * a, b2 = int64_t{b} * b;
    const int64_t two_a2 = 2 * a2, two_b2 = 2 * b2;
    int64_t X = 0, Y = -two_a2 * b, E = 0;
    int sx = 0, sy = 0;
    int x = 0, y = -b;
    int xp = 0, yp = -b;
    for (;;) {
        y += sy;
        x += sx;
        if (y != yp) {
            table[b + yp] = (static_cast<uint32_t>(xp + a) << 16) | static_cast<uint32_t>(a - xp);
            table[b - yp] = (static_cast<uint32_t>(xp + a) << 16) | static_cast<uint32_t>(a - xp);
        }
        xp = x;
        yp = y;
        // One tracer step.
        const int64_t ex = E + b2 + X;
        const int64_t ey = E + a2 + Y;
        const int64_t ed = E + a2 + Y + b2 + X;
        bool x_step;
        int64_t m;
        if (std::llabs(ex) <= std::llabs(ey)) {
            x_step = true;
            m = std::llabs(ex);
        } else {
            x_step = false;
            m = std::llabs(ey);
        }
        sx = 0;
        sy = 0;
        if (m > std::llabs(ed)) {
            X += two_b2;
            Y += two_a2;
            E = ed;
            sx = 1;
            sy = 1;
        } else if (x_step) {
            X += two_b2;
            E = ex;
            sx = 1;
        } else {
            Y += two_a2;
            E = ey;
            sy = 1;
        }
        if (y >= 0)
            break;
    }
    table[b + y] = (static_cast<uint32_t>(x + a) << 16) | static_cast<uint32_t>(a - x);
    return table;
}

void Rotate(const MdnSurface& source, const MdnSurface& destination, float degrees, bool masked,
            Reads& reads) {
    const int32_t sw = source.width, sh = source.height;
    const int32_t dw = destination.width, dh = destination.height;
    const auto* texture = reinterpret_cast<const uint8_t*>(source.pixels);
    auto* out = reinterpret_cast<uint8_t*>(destination.pixels);

    const float xs = static_cast<float>(sw * 65536.0 / dw);
    const float ys = static_cast<float>(sh * 65536.0 / dh);
    const float angle = static_cast<float>(degrees * 0.017453292519943295);
    const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
    const float s = static_cast<float>(std::sin(static_cast<double>(angle)));
    const auto K1 = static_cast<int32_t>(static_cast<double>(c) * xs);
    const auto K2 = static_cast<int32_t>(static_cast<double>(s) * xs);
    const auto K3 = static_cast<int32_t>(static_cast<double>(c) * ys);
    const auto K4 = static_cast<int32_t>(static_cast<double>(s) * ys);
    const int32_t a = dw >> 1, b = dh >> 1;
    const uint32_t U0 =
        (static_cast<uint32_t>(sw) << 15) -
        (static_cast<uint32_t>(K1) + static_cast<uint32_t>(K2)) * static_cast<uint32_t>(a);
    const uint32_t V0 =
        (static_cast<uint32_t>(sh) << 15) -
        (static_cast<uint32_t>(K1) - static_cast<uint32_t>(K2)) * static_cast<uint32_t>(a);
    const std::vector<uint32_t> spans = SpanTable(a, b);

    for (int32_t r = 0; r < dh; ++r) {
        const int32_t left = static_cast<int32_t>(spans[r] & 0xFFFF);
        const int32_t right = static_cast<int32_t>(spans[r] >> 16);
        uint32_t U = U0 + static_cast<uint32_t>(r) * static_cast<uint32_t>(K4) +
                     static_cast<uint32_t>(left) * static_cast<uint32_t>(K1);
        uint32_t V = V0 + static_cast<uint32_t>(r) * static_cast<uint32_t>(K3) -
                     static_cast<uint32_t>(left) * static_cast<uint32_t>(K2);
        for (int32_t col = left; col < right; ++col) {
            const int x = (static_cast<int32_t>(U) >> 16) & 255;
            const int y = (static_cast<int32_t>(V) >> 16) & 255;
            const int32_t fx = static_cast<int32_t>((U >> 11) & 31);
            const int32_t fy = static_cast<int32_t>((V >> 11) & 31);
            const int32_t A = SpreadAt(texture, x, y, reads);
            const int32_t B = SpreadAt(texture, x + 1, y, reads);
            const int32_t C = SpreadAt(texture, x, y + 1, reads);
            const int32_t D = SpreadAt(texture, x + 1, y + 1, reads);
            const int32_t top = Blend(A, B, fx) & 0x03E07C1F;
            const int32_t bottom = Blend(C, D, fx) & 0x03E07C1F;
            const int32_t result = Blend(top, bottom, fy) & 0x03E07C1F;
            auto pixel = static_cast<uint16_t>(((result >> 16) | result) & 0xFFFF);
            if (masked)
                pixel |= 0x8000;
            std::memcpy(out + static_cast<ptrdiff_t>(r) * destination.pitch + 2 * col, &pixel, 2);
            U += static_cast<uint32_t>(K1);
            V -= static_cast<uint32_t>(K2);
        }
    }
}

}  // namespace ref
