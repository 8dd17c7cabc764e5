// The shipped loops against the literal references, on many random surfaces: the SSE2 loops
// and the plain ones of processors without SSE2, which must leave the very same bytes.
#include <functional>

#include "bitmap/images.h"
#include "bitmap/reference.h"
#include "bitmap/sse2_loops.h"
#include "platform/fake_kernel.h"

namespace {

using bitmap_test::Image;
using bitmap_test::MakeImage;

class FastLoops : public bitmap_test::BitmapTest {};

int Uniform(std::mt19937& rng, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
}

// A pitch for rows of `width` pixels: some bytes apart, now and then overlapping, and one
// time in four bottom-up.
int RandomPitch(std::mt19937& rng, int width, int slack) {
    int pitch = 2 * width + Uniform(rng, 0, slack);
    if (Uniform(rng, 0, 9) == 0)
        pitch = Uniform(rng, 0, 2 * width);
    return Uniform(rng, 0, 3) == 0 ? -pitch : pitch;
}

// A destination with random contents, starting at an odd or even address.
Image RandomDestination(std::mt19937& rng, int width, int height) {
    Image dst = MakeImage(width, height, RandomPitch(rng, width, 9), 0, Uniform(rng, 0, 3));
    bitmap_test::FillRandom(dst, rng);
    return dst;
}

// The loops a processor with or without SSE2 gets at load.
void LoadFor(bool sse2) {
    fake::SetProcessorFeature(PF_XMMI64_INSTRUCTIONS_AVAILABLE, sse2);
    bitmap::Load();
    ASSERT_EQ(bitmap::Sse2Loops(), sse2);
}

// The calling thread's x87 control word, as a Direct3D thread leaves it (single precision)
// or with invalid operation and division by zero unmasked; back as it was at the end.
class CallerX87 {
  public:
    explicit CallerX87(uint16_t control) : control_(control) {
        __asm__ volatile("fnstcw %0" : "=m"(saved_));
        __asm__ volatile("fldcw %0" : : "m"(control_));
    }
    ~CallerX87() { __asm__ volatile("fldcw %0" : : "m"(saved_)); }
    // Whether the control word is still the caller's.
    bool Kept() const {
        uint16_t now;
        __asm__ volatile("fnstcw %0" : "=m"(now));
        return now == control_;
    }

  private:
    uint16_t control_, saved_;
};

// Draws into `image` with the SSE2 loops and into a copy with the plain ones (at the x87
// control word `control`); both must leave the same bytes.
void DrawBothWays(Image& image, uint16_t control, const std::function<void(MdnSurface)>& draw) {
    Image plain = image;
    LoadFor(false);
    {
        CallerX87 caller(control);
        draw(plain.Descriptor());
        ASSERT_TRUE(caller.Kept());
    }
    LoadFor(true);
    draw(image.Descriptor());
    ASSERT_EQ(image.memory, plain.memory)
        << "the plain loops, at x87 control word " << std::hex << control << ", differ";
}

uint16_t CallerControl(int i) {
    static const uint16_t kModes[] = {0x027F, 0x007F, 0x037F, 0x0272};
    return kModes[i % 4];
}

float RandomAngle(std::mt19937& rng) {
    static const float special[] = {0.0f, 90.0f, 180.0f, 270.0f, -90.0f, 45.0f, 360.0f, 1e-3f};
    if (Uniform(rng, 0, 3) == 0)
        return special[Uniform(rng, 0, 7)];
    return std::uniform_real_distribution<float>(-1080.0f, 1080.0f)(rng);
}

TEST_F(FastLoops, RotationAgreesWithTheLiteralRotation) {
    std::mt19937 rng(20240611);
    // The texture exactly as large as it is; a copy with room below for the literal reads.
    Image texture = MakeImage(256, 256, 512);
    texture.memory.resize(256 * 512);
    Image with_margin = bitmap_test::MakeTexture();
    int literal_cases = 0;
    const int kCases = 400;
    for (int i = 0; i < kCases; ++i) {
        bitmap_test::FillRandom(texture, rng);
        std::copy(texture.memory.begin(), texture.memory.end(), with_margin.memory.begin());
        const int width = Uniform(rng, 1, i % 10 == 0 ? 700 : 140);
        const int height =
            i % 50 == 0 ? Uniform(rng, 1000, 1023) / (width > 100 ? 8 : 1) : Uniform(rng, 1, 140);
        Image dst = RandomDestination(rng, width, height);
        MdnSurface src = texture.Descriptor();
        src.width = static_cast<int16_t>(Uniform(rng, 1, i % 7 == 0 ? 32767 : 600));
        src.height = static_cast<int16_t>(Uniform(rng, 1, i % 7 == 0 ? 32767 : 600));
        const float degrees = RandomAngle(rng);
        const bool masked = (i & 1) != 0;

        Image expected = dst;
        Image literal = dst;
        ASSERT_NO_FATAL_FAILURE(DrawBothWays(dst, CallerControl(i), [&](MdnSurface d) {
            if (masked) {
                bitmap::RotateBitmapMasked(&src, &d, degrees);
            } else {
                bitmap::RotateBitmap(&src, &d, degrees);
            }
        }));
        ref::Reads rule{ref::Bounds::Rule};
        ref::Rotate(src, expected.Descriptor(), degrees, masked, rule);
        ASSERT_EQ(dst.memory, expected.memory)
            << "case " << i << ": texture " << src.width << "x" << src.height << " into " << width
            << "x" << height << " pitch " << dst.pitch << " at " << degrees << " degrees"
            << (masked ? ", masked" : "");

        MdnSurface margin_src = with_margin.Descriptor();
        margin_src.width = src.width;
        margin_src.height = src.height;
        ref::Reads raw{ref::Bounds::Literal};
        ref::Rotate(margin_src, literal.Descriptor(), degrees, masked, raw);
        if (!raw.outside) {
            ++literal_cases;
            ASSERT_EQ(dst.memory, literal.memory) << "case " << i;
        }
    }
    // Small textures at small angles never reach the edge: those compare with no bounds rule.
    EXPECT_GT(literal_cases, 0);
}

TEST_F(FastLoops, RotationInsideTheTextureNeedsNoBoundsRule) {
    std::mt19937 rng(5);
    Image texture = bitmap_test::MakeTexture();
    int compared = 0;
    for (int i = 0; i < 200; ++i) {
        bitmap_test::FillRandom(texture, rng);
        const int size = Uniform(rng, 2, 120);
        Image dst = RandomDestination(rng, size, Uniform(rng, 2, 120));
        MdnSurface src = texture.Descriptor();
        src.width = static_cast<int16_t>(Uniform(rng, 16, 200));
        src.height = static_cast<int16_t>(Uniform(rng, 16, 200));
        // Centred well inside: the texture centre is at half the source size, so shift the
        // walk by choosing sizes whose window stays between columns 1 and 253.
        const float degrees = std::uniform_real_distribution<float>(-20.0f, 20.0f)(rng);
        Image literal = dst;
        ref::Reads raw{ref::Bounds::Literal};
        ref::Rotate(src, literal.Descriptor(), degrees, false, raw);
        if (raw.outside)
            continue;
        ++compared;
        const MdnSurface d = dst.Descriptor();
        bitmap::RotateBitmap(&src, &d, degrees);
        ASSERT_EQ(dst.memory, literal.memory) << "case " << i;
    }
    EXPECT_GT(compared, 0);
}

TEST_F(FastLoops, ScalingAgreesWithTheLiteralScaling) {
    std::mt19937 rng(77);
    int literal_cases = 0;
    const int kCases = 1500;
    for (int i = 0; i < kCases; ++i) {
        const uint32_t filter = static_cast<uint32_t>(i % 4);
        const int sw = Uniform(rng, 1, i % 9 == 0 ? 900 : 90);
        const int sh = Uniform(rng, 1, 90);
        const int spitch = RandomPitch(rng, sw, 7);
        // Exactly the memory the descriptor describes.
        Image src = MakeImage(sw, sh, spitch);
        src.memory.resize(static_cast<size_t>(sh - 1) * std::abs(spitch) + 2 * sw);
        bitmap_test::FillRandom(src, rng);
        // Now and then wider than the per-call column plan.
        const int dw =
            i % 50 == 7 ? Uniform(rng, 1025, 3000) : Uniform(rng, 1, i % 9 == 1 ? 900 : 120);
        const int dh = dw > 1024 ? Uniform(rng, 1, 4) : Uniform(rng, 1, 120);
        Image dst = RandomDestination(rng, dw, dh);

        Image expected = dst;
        Image literal = dst;
        const MdnSurface s = src.Descriptor();
        ASSERT_NO_FATAL_FAILURE(DrawBothWays(
            dst, CallerControl(i), [&](MdnSurface d) { bitmap::StretchBitmap(&s, &d, filter); }))
            << "case " << i;
        ref::Reads rule{ref::Bounds::Rule};
        ref::Stretch(s, expected.Descriptor(), filter, rule);
        ASSERT_EQ(dst.memory, expected.memory)
            << "case " << i << ": filter " << filter << ", " << sw << "x" << sh << " pitch "
            << spitch << " into " << dw << "x" << dh << " pitch " << dst.pitch;

        // The literal reads may pass the last row (before the memory, bottom-up) and the last
        // column: give them room on both sides.
        Image roomy = src;
        const size_t room = std::abs(spitch) + 8;
        roomy.memory.insert(roomy.memory.begin(), room, 0);
        roomy.memory.resize(roomy.memory.size() + room, 0);
        roomy.offset += room;
        ref::Reads raw{ref::Bounds::Literal};
        ref::Stretch(roomy.Descriptor(), literal.Descriptor(), filter, raw);
        if (!raw.outside) {
            ++literal_cases;
            ASSERT_EQ(dst.memory, literal.memory) << "case " << i;
        }
    }
    EXPECT_GT(literal_cases, kCases / 20);
}

}  // namespace
