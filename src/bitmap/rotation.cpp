// Rotation of the 256x256 texture into the round window of a destination (slots 26 and 30).
#include <cmath>
#include <cstring>

#include "bitmap/bitmap.h"
#include "bitmap/ieee_doubles.h"
#include "bitmap/pixels.h"
#include "bitmap/rotation_steps.h"
#include "bitmap/span_table.h"
#include "bitmap/texture.h"
#include "runtime/diag_log.h"

namespace bitmap {
namespace {

uint32_t spans_plain[kSpanRows];
uint32_t spans_masked[kSpanRows];

template <bool Masked>
void Rotate(const MdnSurface* source, const MdnSurface* destination, float degrees,
            uint32_t* spans) {
    Surface src, dst;
    if (!ReadSurface(source, &src) || src.pixels == nullptr)
        return MDN_WHY("did nothing: no source surface or no source pixels");
    if (!ReadSurface(destination, &dst))
        return MDN_WHY("did nothing: no destination surface");
    RotationSteps steps;
    if (!ComputeRotationSteps(src, dst, degrees, &steps)) {
        return MDN_WHY(
            "did nothing: a surface of size 0, a destination of %d rows or more, or "
            "an angle that is not a number",
            kSpanRows);
    }
    BuildSpanTable(spans, steps.a, steps.b);
    // Only the pitch's sign is read: the texture's rows are always 512 bytes apart.
    DrawRotation<Masked>(dst, steps, spans, PrepareTexture(src.pixels, src.pitch < 0));
}

}  // namespace

void MDN_STDCALL RotateBitmap(const MdnSurface* source, const MdnSurface* destination,
                              float degrees) {
    Rotate<false>(source, destination, degrees, spans_plain);
}

void MDN_STDCALL RotateBitmapMasked(const MdnSurface* source, const MdnSurface* destination,
                                    float degrees) {
    Rotate<true>(source, destination, degrees, spans_masked);
}

namespace {

// Called inside an IeeeDoubles scope, so that every processor and every caller's x87 mode
// gets the steps IEEE single and double arithmetic give.
[[gnu::noinline]] void ComputeSteps(const Surface& src, const Surface& dst, float degrees,
                                    RotationSteps* out) {
    const float xs = static_cast<float>(static_cast<double>(src.width) * 65536.0 / dst.width);
    const float ys = static_cast<float>(static_cast<double>(src.height) * 65536.0 / dst.height);
    const float angle = static_cast<float>(double{degrees} * 0.017453292519943295);
    const float c = static_cast<float>(RoundToDouble(std::cos(double{angle})));
    const float s = static_cast<float>(RoundToDouble(std::sin(double{angle})));
    // |c|, |s| <= 1 and the scales stay below 2^31, so every step fits 32 bits; the products
    // of two singles are exact in double, truncated toward zero.
    out->k1 = static_cast<int32_t>(double{c} * double{xs});
    out->k2 = static_cast<int32_t>(double{s} * double{xs});
    out->k3 = static_cast<int32_t>(double{c} * double{ys});
    out->k4 = static_cast<int32_t>(double{s} * double{ys});
}

}  // namespace

bool ComputeRotationSteps(const Surface& src, const Surface& dst, float degrees,
                          RotationSteps* out) {
    // The texture's size only sets the scale; of its pitch only the sign is read.
    if (src.width <= 0 || src.height <= 0)
        return false;
    if (!HasPixels(dst) || dst.height >= kSpanRows)
        return false;
    // An angle that is not a number, tested on its bits: no x87 load of a signalling NaN.
    uint32_t bits;
    std::memcpy(&bits, &degrees, sizeof bits);
    if ((bits & 0x7F800000u) == 0x7F800000u)
        return false;
    {
        IeeeDoubles doubles;
        ComputeSteps(src, dst, degrees, out);
    }
    out->a = dst.width >> 1;
    out->b = dst.height >> 1;
    const uint32_t k1 = static_cast<uint32_t>(out->k1), k2 = static_cast<uint32_t>(out->k2);
    const uint32_t a = static_cast<uint32_t>(out->a);
    out->u0 = (static_cast<uint32_t>(src.width) << 15) - (k1 + k2) * a;
    out->v0 = (static_cast<uint32_t>(src.height) << 15) - (k1 - k2) * a;
    return true;
}

}  // namespace bitmap
