// Plain, literal versions of the bitmap algorithms, step by step and without any of the
// shipped code's shortcuts (no SIMD, no edge copy, no column plan, direct multiplications),
// to check the shipped loops against.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "mdnsrv.h"

namespace ref {

// How the reference obtains a pixel the algorithm addresses past the source.
enum class Bounds {
    // At the address the algorithm computes, whatever lies there (the caller provides a margin).
    Literal,
    // The texture wrapped modulo 256; the scalings clamped to the last column and row.
    Rule,
};

// Literal reads report in `outside` whether any of them fell past the source's pixels.
struct Reads {
    Bounds bounds = Bounds::Rule;
    bool outside = false;
};

std::array<int32_t, 32> EaseTable();

// Entries for rows 0 to 2b of the window with half axes a and b.
std::vector<uint32_t> SpanTable(int32_t a, int32_t b);

// source: the 256x256 texture (only its address, width and height are used).
void Rotate(const MdnSurface& source, const MdnSurface& destination, float degrees, bool masked,
            Reads& reads);

void Stretch(const MdnSurface& source, const MdnSurface& destination, uint32_t filter,
             Reads& reads);

}  // namespace ref
