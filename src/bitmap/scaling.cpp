// Scaling of one bitmap into another with four filters (slots 27 and 29), in 22.10 steps.
//
// Samples that would fall past the source's last column or row take that column or row:
// the filtered samples read up to two columns to the right and one row below, the nearest
// one column and row past the end when magnifying. Rows are clamped once per row; columns
// only in the few samples at the right-hand end of each row, so the rest read directly.
#include "bitmap/bitmap.h"
#include "bitmap/pixels.h"
#include "bitmap/scaling_rows.h"

namespace bitmap {
namespace {

int32_t Min(int32_t a, int32_t b) {
    return a < b ? a : b;
}

void Nearest(const Surface& src, const Surface& dst, int32_t sx, int32_t sy) {
    // Columns (512 + k * sx) >> 10 <= width - 1 are read directly.
    const int32_t direct = Min(dst.width, (src.width * 1024 - 513) / sx + 1);
    for (int32_t j = 0; j < dst.height; ++j) {
        const int32_t r = Min((512 + j * sy) >> 10, src.height - 1);
        NearestRow(dst.pixels + static_cast<ptrdiff_t>(j) * dst.pitch,
                   src.pixels + static_cast<ptrdiff_t>(r) * src.pitch, src.width, sx, direct,
                   dst.width);
    }
}

void Filtered(const Surface& src, const Surface& dst, int32_t sx, int32_t sy, uint32_t filter) {
    // Samples whose columns c to c + 2 all lie inside the source are read directly.
    const int32_t direct =
        src.width < 3 ? 0 : Min(dst.width, ((src.width - 2) * 1024 - 1) / sx + 1);
    FilteredRowFn row_fn = FilteredRowFunction(filter);
    for (int32_t j = 0; j < dst.height; ++j) {
        const int32_t y = j * sy;
        const int32_t r = y >> 10;
        const uint8_t* top = src.pixels + static_cast<ptrdiff_t>(r) * src.pitch;
        const uint8_t* bottom =
            src.pixels + static_cast<ptrdiff_t>(Min(r + 1, src.height - 1)) * src.pitch;
        row_fn(dst.pixels + static_cast<ptrdiff_t>(j) * dst.pitch, top, bottom,
               static_cast<uint32_t>(y >> 5) & 31,
               FilteredColumns{sx, direct, dst.width, src.width});
    }
}

}  // namespace

void MDN_STDCALL StretchBitmap(const MdnSurface* source, const MdnSurface* destination,
                               uint32_t filter) {
    if (filter > MDN_FILTER_EASED)
        return;
    Surface src, dst;
    if (!ReadSurface(source, &src) || src.pixels == nullptr)
        return;
    if (!ReadSurface(destination, &dst))
        return;
    if (!HasPixels(src) || !HasPixels(dst))
        return;
    // Sizes below 2^15 keep every 22.10 product (size * step <= source size * 1024) in range.
    const int32_t sx = src.width * 1024 / dst.width;
    const int32_t sy = src.height * 1024 / dst.height;
    // A source more than 1024 times smaller gives a step of 0: no sample, nothing written.
    if (sx == 0 || sy == 0)
        return;
    if (filter == MDN_FILTER_NEAREST) {
        Nearest(src, dst, sx, sy);
    } else {
        Filtered(src, dst, sx, sy, filter);
    }
}

void MDN_STDCALL CopyBitmap(const MdnSurface* source, const MdnSurface* destination) {
    StretchBitmap(source, destination, MDN_FILTER_LINEAR_TOP);
}

}  // namespace bitmap
