#include "bitmap/images.h"

namespace {

using bitmap_test::Image;
using bitmap_test::MakeImage;
using bitmap_test::MakeTexture;

class NearestScaling : public bitmap_test::BitmapTest {};
class FilteredScaling : public bitmap_test::BitmapTest {};
class BitFifteen : public bitmap_test::BitmapTest {};

Image RandomImage(int width, int height, int pitch, uint32_t seed) {
    Image image = MakeImage(width, height, pitch);
    std::mt19937 rng(seed);
    bitmap_test::FillRandom(image, rng);
    return image;
}

void Stretch(Image& src, Image& dst, uint32_t filter) {
    const MdnSurface s = src.Descriptor(), d = dst.Descriptor();
    bitmap::StretchBitmap(&s, &d, filter);
}

TEST_F(NearestScaling, SameWidthCopiesEachRowUnchanged) {
    Image src = RandomImage(37, 5, 80, 1);
    Image dst = MakeImage(37, 5, 76, 0xAAAA);
    Stretch(src, dst, MDN_FILTER_NEAREST);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(dst.At(x, y), src.At(x, y)) << x << ", " << y;
    }
}

TEST_F(NearestScaling, HalfWidthTakesEverySecondColumn) {
    Image src = RandomImage(40, 6, 80, 2);
    Image dst = MakeImage(20, 3, 40);
    Stretch(src, dst, MDN_FILTER_NEAREST);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(dst.At(x, y), src.At(2 * x, 2 * y)) << x << ", " << y;
        }
    }
}

TEST_F(NearestScaling, MagnificationStopsAtTheLastColumnAndRow) {
    // Exactly four pixels of memory: positions past the last column and row take them.
    Image src = MakeImage(2, 2, 4);
    src.memory.resize(8);
    src.Set(0, 0, 0x0001);
    src.Set(1, 0, 0x0002);
    src.Set(0, 1, 0x0003);
    src.Set(1, 1, 0x8004);
    Image dst = MakeImage(8, 8, 16);
    Stretch(src, dst, MDN_FILTER_NEAREST);
    // Columns (512 + 256k) >> 10: 0 0 1 1 1 1 2 2, the 2s clamped to 1.
    const int column[8] = {0, 0, 1, 1, 1, 1, 1, 1};
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(dst.At(x, y), src.At(column[x], column[y])) << x << ", " << y;
        }
    }
}

TEST_F(FilteredScaling, SameSizeTakesTheMiddleFieldFromTheRightNeighbour) {
    for (uint32_t filter : {1u, 2u, 3u}) {
        Image src = MakeImage(3, 2, 6);
        src.Set(0, 0, 0x001F);
        src.Set(1, 0, 0x03E0);
        src.Set(2, 0, 0x7D40);
        Image dst = MakeImage(3, 2, 6, 0xAAAA);
        Stretch(src, dst, filter);
        EXPECT_EQ(dst.At(0, 0), 0x03FF) << "filter " << filter;
        EXPECT_EQ(dst.At(1, 0), 0x0140) << "filter " << filter;
        // The last column has no right neighbour: it keeps its own middle field.
        EXPECT_EQ(dst.At(2, 0), 0x7D40) << "filter " << filter;
    }
}

TEST_F(FilteredScaling, CopyBitmapIsFilterOne) {
    Image src = RandomImage(50, 30, 100, 4);
    Image by_copy = MakeImage(23, 41, 50, 0x5555);
    Image by_filter = by_copy;
    const MdnSurface s = src.Descriptor(), d = by_copy.Descriptor();
    bitmap::CopyBitmap(&s, &d);
    Stretch(src, by_filter, MDN_FILTER_LINEAR_TOP);
    EXPECT_EQ(by_copy.memory, by_filter.memory);
}

TEST_F(FilteredScaling, FilterOneBlendsOnlyTheUpperRowHorizontally) {
    // Source 2x2 into 4x4: at destination (1, 1) x = 512, y = 512: fx = fy = 16.
    Image src = MakeImage(2, 2, 4);
    src.Set(0, 0, 0x0000);
    src.Set(1, 0, 0x001F);
    src.Set(0, 1, 0x0000);
    src.Set(1, 1, 0x001F);
    Image linear = MakeImage(4, 4, 8);
    Image bilinear = MakeImage(4, 4, 8);
    Stretch(src, linear, MDN_FILTER_LINEAR_TOP);
    Stretch(src, bilinear, MDN_FILTER_BILINEAR);
    // Filter 1: top = 15, the lower row's texel (0) unblended: 15 + (-15 * 16 >> 5) = 7.
    EXPECT_EQ(linear.At(1, 1) & 0x1F, 7);
    // Filter 2: both rows 15.
    EXPECT_EQ(bilinear.At(1, 1) & 0x1F, 15);
}

TEST_F(FilteredScaling, FilterThreeEasesTheWeights) {
    // Source 2x1 into 8x1: fx = 0, 8, 16, 24 in each source pixel; eased 0, 4, 16, 27.
    Image src = MakeImage(2, 1, 4);
    src.Set(0, 0, 0x0000);
    src.Set(1, 0, 0x001F);
    Image dst = MakeImage(8, 1, 16);
    Stretch(src, dst, MDN_FILTER_EASED);
    EXPECT_EQ(dst.At(0, 0) & 0x1F, 0);
    EXPECT_EQ(dst.At(1, 0) & 0x1F, (31 * 4) >> 5);
    EXPECT_EQ(dst.At(2, 0) & 0x1F, (31 * 16) >> 5);
    EXPECT_EQ(dst.At(3, 0) & 0x1F, (31 * 27) >> 5);
}

TEST_F(BitFifteen, UniformSourceKeepsItsValueAndEachOperationsBitFifteen) {
    for (uint16_t value : {0x8000, 0xFFFF, 0x8421, 0x2A5A}) {
        Image texture = MakeTexture(value);
        const MdnSurface t = texture.Descriptor();
        const auto clear = static_cast<uint16_t>(value & 0x7FFF);
        const auto set = static_cast<uint16_t>(value | 0x8000);

        Image rotated = MakeImage(20, 20, 40, 0x1111);
        Image masked = MakeImage(20, 20, 40, 0x1111);
        const MdnSurface r = rotated.Descriptor(), m = masked.Descriptor();
        bitmap::RotateBitmap(&t, &r, 12.5f);
        bitmap::RotateBitmapMasked(&t, &m, 12.5f);
        EXPECT_EQ(rotated.At(10, 10), clear);
        EXPECT_EQ(masked.At(10, 10), set);
        EXPECT_EQ(rotated.At(0, 0), 0x1111);  // outside the window
        EXPECT_EQ(masked.At(0, 0), 0x1111);

        Image src = MakeImage(9, 7, 18, value);
        for (uint32_t filter = 0; filter <= 3; ++filter) {
            Image dst = MakeImage(13, 5, 26, 0x1111);
            Stretch(src, dst, filter);
            for (int y = 0; y < 5; ++y) {
                for (int x = 0; x < 13; ++x) {
                    ASSERT_EQ(dst.At(x, y), filter == 0 ? value : clear)
                        << "filter " << filter << " at " << x << ", " << y;
                }
            }
        }
    }
}

}  // namespace
