// A midpoint tracer over the upper-left quarter of the ellipse, mirrored onto the lower half:
// integer steps only, no square roots.
#include "bitmap/span_table.h"

#include <cstdlib>

namespace bitmap {
namespace {

// The tracer's terms reach 2a^2b, past 32 bits for wide windows: kept in 64 bits, which
// gives the same steps wherever 32 bits would have sufficed.
struct Tracer {
    int64_t a2, b2, two_a2, two_b2;
    int64_t X, Y, E;  // X stands for 2b^2x, Y for 2a^2y, E is the running error
    int32_t sx = 0, sy = 0;

    void Step() {
        const int64_t ex = E + b2 + X;
        const int64_t ey = E + a2 + Y;
        const int64_t ed = E + a2 + Y + b2 + X;
        const bool x_step = std::llabs(ex) <= std::llabs(ey);  // a tie goes to the x step
        const int64_t m = x_step ? std::llabs(ex) : std::llabs(ey);
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
    }
};

uint32_t Entry(int32_t x, int32_t a) {
    // The tracer stays within the quarter; the clamp only keeps a row inside [0, 2a].
    if (x > a)
        x = a;
    if (x < 0)
        x = 0;
    return (static_cast<uint32_t>(x + a) << 16) | static_cast<uint32_t>(a - x);
}

}  // namespace

void BuildSpanTable(uint32_t* table, int32_t a, int32_t b) {
    Tracer t;
    t.a2 = int64_t{a} * a;
    t.b2 = int64_t{b} * b;
    t.two_a2 = 2 * t.a2;
    t.two_b2 = 2 * t.b2;
    t.X = 0;
    t.Y = -t.two_a2 * b;
    t.E = 0;
    int32_t x = 0, y = -b;
    int32_t last_x = 0, last_y = -b;
    do {
        y += t.sy;
        x += t.sx;
        if (y != last_y) {
            table[b + last_y] = Entry(last_x, a);
            table[b - last_y] = Entry(last_x, a);
        }
        last_x = x;
        last_y = y;
        t.Step();
    } while (y < 0);
    table[b + y] = Entry(x, a);
}

}  // namespace bitmap
