// The shipped loops against the literal references, on many random surfaces: the SSE2 loops
// and the plain ones of processors without SSE2, which must leave the very same bytes.
#include <functional>

#include "bitmap/images.h"
#include "bitmap/reference.h"
#include "bitmap/sse2_loops.h"
#include "platform/fake_kernel.h"
#include "platform/win_kernel.h"

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

// ---- the loops' pixels, fixed -------------------------------------------------------------
//
// Checksums of what the loops drew over a matrix of sizes, angles, ratios and filters before
// any of them was made faster: every set of loops a processor can get, at every caller's x87
// mode, must still draw exactly these bytes.

uint32_t Fnv1a(const std::vector<uint8_t>& bytes, uint32_t hash = 2166136261u) {
    for (uint8_t b : bytes)
        hash = (hash ^ b) * 16777619u;
    return hash;
}

// Raw generator words only: the standard fixes them, unlike its distributions.
void FillFixed(Image& image, uint32_t seed) {
    std::mt19937 rng(seed);
    for (auto& b : image.memory)
        b = static_cast<uint8_t>(rng() >> 24);
}

struct FixedRotation {
    int width, height, pitch;
    uint32_t hash;
};

uint32_t RotationChecksum(const FixedRotation& c) {
    static const std::pair<int16_t, int16_t> kScales[] = {{256, 256}, {100, 173}, {7, 1000}};
    static const float kAngles[] = {0.0f, 30.0f, 137.0f, -200.5f, 1e-3f};
    Image texture = MakeImage(256, 256, 512);
    FillFixed(texture, 1);
    uint32_t hash = 2166136261u;
    for (const auto& [sw, sh] : kScales) {
        for (float degrees : kAngles) {
            for (bool masked : {false, true}) {
                Image dst = MakeImage(c.width, c.height, c.pitch, 0, 3);
                FillFixed(dst, 2);
                MdnSurface s = texture.Descriptor();
                s.width = sw;
                s.height = sh;
                const MdnSurface d = dst.Descriptor();
                if (masked) {
                    bitmap::RotateBitmapMasked(&s, &d, degrees);
                } else {
                    bitmap::RotateBitmap(&s, &d, degrees);
                }
                hash = Fnv1a(dst.memory, hash);
            }
        }
    }
    return hash;
}

struct FixedScaling {
    int sw, sh, spitch, dw, dh, dpitch;
    uint32_t hash[4];  // filters 0 to 3
};

uint32_t ScalingChecksum(const FixedScaling& c, uint32_t filter) {
    Image src = MakeImage(c.sw, c.sh, c.spitch);
    FillFixed(src, 3);
    Image dst = MakeImage(c.dw, c.dh, c.dpitch, 0, 5);
    FillFixed(dst, 4);
    const MdnSurface s = src.Descriptor(), d = dst.Descriptor();
    bitmap::StretchBitmap(&s, &d, filter);
    return Fnv1a(dst.memory);
}

const FixedRotation kFixedRotations[] = {
    {1, 1, 2, 0x17513c11},    {8, 8, 16, 0xf57b437d},    {9, 9, -22, 0x78dbffb1},
    {17, 13, 35, 0xb2974575}, {64, 64, 128, 0xf204f8af}, {101, 77, -206, 0x50afc24d},
};

const FixedScaling kFixedScalings[] = {
    {128, 128, 256, 256, 256, 512, {0xff826477, 0x719684ea, 0x2fc317d1, 0x2fc317d1}},
    {256, 256, 512, 128, 128, 256, {0xc74be6e8, 0x3af25f60, 0x3af25f60, 0x3af25f60}},
    {100, 100, 200, 173, 173, 346, {0xd72f38b2, 0x67bda32c, 0x10f57f18, 0xf6ff0e6e}},
    {173, 173, 346, 100, 100, -200, {0xa4b60b19, 0x75cd4b64, 0x1b4bad41, 0x43233849}},
    {85, 85, -170, 255, 255, 510, {0x3fc69e82, 0x9fb8d0bd, 0x0d029581, 0x4b2367e0}},
    {255, 255, 511, 85, 85, 171, {0x73fe1210, 0x78fa1aba, 0x78fa1aba, 0x78fa1aba}},
    {1, 1, 2, 5, 3, 10, {0x7dc510c7, 0x7dc510c7, 0x7dc510c7, 0x7dc510c7}},
    {5, 4, 10, 1, 1, 2, {0xa4e6047b, 0x71af00c0, 0x71af00c0, 0x71af00c0}},
    {3, 7, 7, 11, 2, 22, {0xd28b72d4, 0xd2c37a29, 0x9d04ca3c, 0x7b25826d}},
    {37, 5, 74, 37, 5, -77, {0x019dc0b2, 0xc2113d22, 0xc2113d22, 0xc2113d22}},
    {1000, 3, 2001, 7, 9, 14, {0xa7bd2008, 0x8aacaec6, 0xab688a95, 0x8c298b14}},
    {20, 2, 40, 2000, 3, 4000, {0x75cd5c4e, 0x635f6868, 0x83b4e324, 0x8e55ec7c}},
    {64, 48, 128, 200, 150, 400, {0x1fce9a78, 0x73fc1d81, 0xfa68de97, 0xc8bf25bf}},
    {200, 150, -401, 64, 48, 128, {0x94541372, 0x24a73b6e, 0x1d48d828, 0x22f399b0}},
};

// Every set of loops the fake processor can be given, each at every caller's x87 mode.
void ForEveryLoopAndMode(const std::function<void(const std::string&)>& check) {
    for (bool sse2 : {false, true}) {
        LoadFor(sse2);
        for (int mode = 0; mode < 4; ++mode) {
            CallerX87 caller(CallerControl(mode));
            check(std::string(sse2 ? "SSE2" : "plain") + " loops at x87 control word " +
                  std::to_string(CallerControl(mode)));
            ASSERT_TRUE(caller.Kept());
        }
    }
}

TEST_F(FastLoops, RotationDrawsTheFixedPixels) {
    ForEveryLoopAndMode([](const std::string& loops) {
        for (const FixedRotation& c : kFixedRotations) {
            EXPECT_EQ(RotationChecksum(c), c.hash)
                << loops << ": " << c.width << "x" << c.height << " pitch " << c.pitch;
        }
    });
}

TEST_F(FastLoops, ScalingDrawsTheFixedPixels) {
    ForEveryLoopAndMode([](const std::string& loops) {
        for (const FixedScaling& c : kFixedScalings) {
            for (uint32_t filter = 0; filter < 4; ++filter) {
                EXPECT_EQ(ScalingChecksum(c, filter), c.hash[filter])
                    << loops << ": " << c.sw << "x" << c.sh << " into " << c.dw << "x" << c.dh
                    << ", filter " << filter;
            }
        }
    });
}

}  // namespace
