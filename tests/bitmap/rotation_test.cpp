#include <cmath>

#include "bitmap/images.h"
#include "bitmap/pixels.h"
#include "bitmap/reference.h"
#include "bitmap/span_table.h"

namespace {

using bitmap_test::Image;
using bitmap_test::MakeImage;
using bitmap_test::MakeTexture;

class RotationWindow : public bitmap_test::BitmapTest {};
class RotationSampling : public bitmap_test::BitmapTest {};

constexpr uint16_t kUntouched = 0xFFFF;  // a rotation never writes bit 15 set

struct Span {
    int left, right;
    bool operator==(const Span&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Span& s) {
    return out << "[" << s.left << ", " << s.right << ")";
}

// The columns each row of a rotated destination received, as one span per row.
std::vector<Span> DrawnSpans(int width, int height) {
    Image texture = MakeTexture(0x1234);
    Image dst = MakeImage(width, height, 2 * width + 6, kUntouched);
    const MdnSurface src = texture.Descriptor();
    const MdnSurface d = dst.Descriptor();
    bitmap::RotateBitmap(&src, &d, 33.0f);
    std::vector<Span> spans;
    for (int y = 0; y < height; ++y) {
        Span s{0, 0};
        int x = 0;
        while (x < width && dst.At(x, y) == kUntouched)
            ++x;
        s.left = s.right = x;
        while (x < width && dst.At(x, y) != kUntouched)
            ++x;
        s.right = x;
        while (x < width && dst.At(x, y) == kUntouched)
            ++x;
        EXPECT_EQ(x, width) << "row " << y << " is not one span";
        spans.push_back(s.left == s.right ? Span{0, 0} : s);
    }
    return spans;
}

TEST_F(RotationWindow, EightByEightDrawsTheRoundWindow) {
    const std::vector<Span> expected = {{3, 5}, {1, 7}, {1, 7}, {0, 8},
                                        {0, 8}, {0, 8}, {1, 7}, {1, 7}};
    EXPECT_EQ(DrawnSpans(8, 8), expected);
}

TEST_F(RotationWindow, NineByNineAddsTheLastRowButNotTheLastColumn) {
    const std::vector<Span> expected = {{3, 5}, {1, 7}, {1, 7}, {0, 8}, {0, 8},
                                        {0, 8}, {1, 7}, {1, 7}, {3, 5}};
    EXPECT_EQ(DrawnSpans(9, 9), expected);
}

TEST_F(RotationWindow, SixteenBySixteenStartsNarrow) {
    uint32_t table[bitmap::kSpanRows] = {};
    bitmap::BuildSpanTable(table, 8, 8);
    const std::vector<Span> expected = {{6, 10}, {4, 12}, {3, 13}, {2, 14}};
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ((Span{bitmap::SpanLeft(table[r]), bitmap::SpanRight(table[r])}), expected[r])
            << "row " << r;
    }
    const std::vector<Span> drawn = DrawnSpans(16, 16);
    EXPECT_EQ(std::vector<Span>(drawn.begin(), drawn.begin() + 4), expected);
}

TEST_F(RotationWindow, OneByOneAndOneRowDrawNothing) {
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{7, 1}, std::pair{1, 7}}) {
        for (const Span& s : DrawnSpans(w, h))
            EXPECT_EQ(s, (Span{0, 0})) << w << "x" << h;
    }
}

TEST_F(RotationWindow, TracerMatchesTheLiteralOneAndStaysInsideTheWindow) {
    std::vector<std::pair<int, int>> axes;
    for (int a = 0; a <= 40; ++a) {
        for (int b = 0; b <= 40; ++b)
            axes.emplace_back(a, b);
    }
    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
        axes.emplace_back(static_cast<int>(rng() % 16384), static_cast<int>(rng() % 512));
    }
    axes.emplace_back(16383, 511);
    uint32_t table[bitmap::kSpanRows];
    for (const auto& [a, b] : axes) {
        bitmap::BuildSpanTable(table, a, b);
        const std::vector<uint32_t> literal = ref::SpanTable(a, b);
        for (int r = 0; r <= 2 * b; ++r) {
            ASSERT_EQ(table[r], literal[r]) << "a " << a << " b " << b << " row " << r;
            ASSERT_LE(bitmap::SpanLeft(table[r]), bitmap::SpanRight(table[r]));
            ASSERT_LE(bitmap::SpanRight(table[r]), 2 * a);
        }
    }
}

// Texel values that say where they are: column in bits 0-4, row in bits 10-14.
uint16_t Coordinates(int x, int y) {
    return static_cast<uint16_t>(((y & 31) << 10) | (x & 31));
}

Image CoordinateTexture() {
    Image t = MakeTexture();
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x)
            t.Set(x, y, Coordinates(x, y));
    }
    return t;
}

// The pixel an unweighted sample of texel (x, y) gives: its own outer fields, the middle
// field of its right-hand neighbour.
uint16_t Unweighted(const Image& texture, int x, int y) {
    return static_cast<uint16_t>((texture.At(x & 255, y & 255) & 0x7C1F) |
                                 (texture.At((x + 1) & 255, y & 255) & 0x03E0));
}

TEST_F(RotationSampling, AngleZeroPutsTheTextureCentreAtTheDestinationCentre) {
    Image texture = MakeTexture();
    std::mt19937 rng(3);
    bitmap_test::FillRandom(texture, rng);
    Image dst = MakeImage(64, 64, 128, kUntouched);
    const MdnSurface s = texture.Descriptor(), d = dst.Descriptor();
    bitmap::RotateBitmap(&s, &d, 0.0f);
    EXPECT_EQ(dst.At(32, 32), Unweighted(texture, 128, 128));
    // Four texels a pixel at this scale, still unweighted.
    EXPECT_EQ(dst.At(40, 32), Unweighted(texture, 160, 128));
    EXPECT_EQ(dst.At(32, 20), Unweighted(texture, 128, 80));
}

TEST_F(RotationSampling, AngleNinetyWalksUpTheTextureAlongARow) {
    Image texture = CoordinateTexture();
    Image dst = MakeImage(64, 64, 128, kUntouched);
    MdnSurface s = texture.Descriptor();
    s.width = 64;  // one texel a pixel
    s.height = 64;
    const MdnSurface d = dst.Descriptor();
    bitmap::RotateBitmap(&s, &d, 90.0f);
    // U stays at the row number, V falls by one texel from 64 at column 0.
    for (int row = 0; row < 64; ++row) {
        for (int col = 0; col < 64; ++col) {
            if (dst.At(col, row) == kUntouched)
                continue;
            ASSERT_EQ(dst.At(col, row), Unweighted(texture, row, 64 - col))
                << "column " << col << " row " << row;
        }
    }
    EXPECT_NE(dst.At(0, 32), kUntouched);
}

TEST_F(RotationSampling, HalfwayBetweenTexelsBlendsEachFieldByHalf) {
    // Source 128 into 64 at angle 0 with an odd destination: every sample sits half a texel
    // to the right of a texel column.
    Image texture = MakeTexture();
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x)
            texture.Set(x, y, (x & 1) ? 0x7FFF : 0x0000);
    }
    Image dst = MakeImage(65, 65, 130, kUntouched);
    MdnSurface s = texture.Descriptor();
    s.width = 65;
    s.height = 65;
    const MdnSurface d = dst.Descriptor();
    bitmap::RotateBitmap(&s, &d, 0.0f);
    // U0 = 65 << 15 - 65536 * 32 = half a texel: fx = 16 on every pixel, fy = 16.
    // Field 0 blends 0 towards 31 by 16/32 (15) and 31 towards 0: 31 + (-496 >> 5) = 15, the
    // arithmetic shift rounding down in both directions.
    const uint16_t even = dst.At(32, 32), odd = dst.At(33, 32);
    EXPECT_EQ(even & 0x1F, 15);
    EXPECT_EQ(odd & 0x1F, 15);
    EXPECT_EQ(even & 0x8000, 0);
}

TEST_F(RotationSampling, TextureWrapsAtItsLastColumnAndRow) {
    std::mt19937 rng(11);
    // Exactly 256x256 pixels: any read past them is outside the memory.
    Image texture = MakeImage(256, 256, 512);
    texture.memory.resize(256 * 512);
    bitmap_test::FillRandom(texture, rng);
    Image with_margin = MakeTexture();
    std::copy(texture.memory.begin(), texture.memory.end(), with_margin.memory.begin());

    for (float degrees : {0.0f, 37.0f, 180.0f, -123.5f}) {
        Image dst = MakeImage(200, 200, 400, kUntouched);
        Image expected = dst;
        const MdnSurface s = texture.Descriptor(), d = dst.Descriptor();
        bitmap::RotateBitmap(&s, &d, degrees);

        ref::Reads literal{ref::Bounds::Literal};
        Image scratch = dst;
        const MdnSurface ms = with_margin.Descriptor(), sd = scratch.Descriptor();
        ref::Rotate(ms, sd, degrees, false, literal);
        EXPECT_TRUE(literal.outside) << degrees << " degrees never reached the edge";

        ref::Reads rule{ref::Bounds::Rule};
        const MdnSurface ed = expected.Descriptor();
        ref::Rotate(s, ed, degrees, false, rule);
        EXPECT_EQ(dst.memory, expected.memory) << degrees << " degrees";
    }
}

}  // namespace
