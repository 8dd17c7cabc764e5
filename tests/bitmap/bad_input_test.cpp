#include <limits>

#include "bitmap/images.h"

namespace {

using bitmap_test::Image;
using bitmap_test::MakeImage;
using bitmap_test::MakeTexture;

class BadSurfaces : public bitmap_test::BitmapTest {};

// Every drawing operation with a filter where it takes one.
struct Operation {
    const char* name;
    void (*run)(const MdnSurface*, const MdnSurface*);
    bool rotation;
};
const Operation kOperations[] = {
    {"RotateBitmap",
     [](const MdnSurface* s, const MdnSurface* d) { bitmap::RotateBitmap(s, d, 30); }, true},
    {"RotateBitmapMasked",
     [](const MdnSurface* s, const MdnSurface* d) { bitmap::RotateBitmapMasked(s, d, 30); }, true},
    {"CopyBitmap", [](const MdnSurface* s, const MdnSurface* d) { bitmap::CopyBitmap(s, d); },
     false},
    {"Stretch0", [](const MdnSurface* s, const MdnSurface* d) { bitmap::StretchBitmap(s, d, 0); },
     false},
    {"Stretch2", [](const MdnSurface* s, const MdnSurface* d) { bitmap::StretchBitmap(s, d, 2); },
     false},
    {"Stretch3", [](const MdnSurface* s, const MdnSurface* d) { bitmap::StretchBitmap(s, d, 3); },
     false},
};

struct Case {
    const char* what;
    void (*change)(MdnSurface& src, MdnSurface& dst);
};

// Runs `op` on a good pair of surfaces changed by `change`; true when nothing was written.
bool DrawsNothing(const Operation& op, void (*change)(MdnSurface&, MdnSurface&)) {
    Image src = op.rotation ? MakeTexture(0x1234) : MakeImage(16, 16, 32, 0x1234);
    Image dst = MakeImage(16, 16, 32, 0xEEEE);
    const std::vector<uint8_t> before = dst.memory;
    MdnSurface s = src.Descriptor(), d = dst.Descriptor();
    change(s, d);
    op.run(&s, &d);
    return dst.memory == before;
}

TEST_F(BadSurfaces, GoodSurfacesDraw) {
    for (const Operation& op : kOperations) {
        EXPECT_FALSE(DrawsNothing(op, [](MdnSurface&, MdnSurface&) {})) << op.name;
    }
}

TEST_F(BadSurfaces, NothingIsDrawnWithoutPixelsOnEitherSide) {
    const Case cases[] = {
        {"null source address", [](MdnSurface& s, MdnSurface&) { s.pixels = nullptr; }},
        {"source width 0", [](MdnSurface& s, MdnSurface&) { s.width = 0; }},
        {"source height -3", [](MdnSurface& s, MdnSurface&) { s.height = -3; }},
        {"source width -32768", [](MdnSurface& s, MdnSurface&) { s.width = -32768; }},
        {"destination width 0", [](MdnSurface&, MdnSurface& d) { d.width = 0; }},
        {"destination width -1", [](MdnSurface&, MdnSurface& d) { d.width = -1; }},
        {"destination height 0", [](MdnSurface&, MdnSurface& d) { d.height = 0; }},
        {"destination height -16", [](MdnSurface&, MdnSurface& d) { d.height = -16; }},
    };
    for (const Operation& op : kOperations) {
        for (const Case& c : cases)
            EXPECT_TRUE(DrawsNothing(op, c.change)) << op.name << ": " << c.what;
    }
}

TEST_F(BadSurfaces, NullDescriptorsAndNullDestinationAddressesAreIgnored) {
    Image texture = MakeTexture(0x1234);
    Image dst = MakeImage(16, 16, 32);
    const MdnSurface s = texture.Descriptor();
    MdnSurface no_pixels = dst.Descriptor();
    no_pixels.pixels = nullptr;
    for (const Operation& op : kOperations) {
        op.run(nullptr, nullptr);
        op.run(&s, nullptr);
        op.run(nullptr, &no_pixels);
        op.run(&s, &no_pixels);  // would crash if it wrote
    }
}

TEST_F(BadSurfaces, RotationsNeedADestinationWithinTheSpanTable) {
    Image texture = MakeTexture(0x1234);
    const MdnSurface s = texture.Descriptor();
    for (int height : {1023, 1024, 2000, 32767}) {
        Image dst = MakeImage(4, height, 8, 0xEEEE);
        const std::vector<uint8_t> before = dst.memory;
        const MdnSurface d = dst.Descriptor();
        bitmap::RotateBitmap(&s, &d, 10);
        bitmap::RotateBitmapMasked(&s, &d, 10);
        if (height <= 1023) {
            EXPECT_NE(dst.memory, before) << height;
        } else {
            EXPECT_EQ(dst.memory, before) << height;
        }
    }
}

// The same image top-down and bottom-up, drawn top-down and bottom-up: the same pixels, and
// nothing written between or around the rows.
TEST_F(BadSurfaces, NegativePitchesAreBottomUpSurfaces) {
    std::mt19937 rng(16);
    for (const Operation& op : kOperations) {
        Image top_down = op.rotation ? MakeTexture() : MakeImage(13, 11, 30);
        bitmap_test::FillRandom(top_down, rng);
        Image bottom_up = MakeImage(top_down.width, top_down.height, -top_down.pitch);
        for (int y = 0; y < top_down.height; ++y) {
            for (int x = 0; x < top_down.width; ++x)
                bottom_up.Set(x, y, top_down.At(x, y));
        }
        Image expected = MakeImage(17, 15, 38, 0xEEEE);
        const MdnSurface s = top_down.Descriptor();
        MdnSurface e = expected.Descriptor();
        op.run(&s, &e);
        // A bottom-up texture is read upward from its top row, never past its 256 rows.
        for (bool source_bottom_up : {false, true}) {
            for (int pitch : {38, -38, -34}) {
                Image dst = MakeImage(17, 15, pitch, 0xEEEE, 8);
                const MdnSurface src = (source_bottom_up ? bottom_up : top_down).Descriptor();
                const MdnSurface d = dst.Descriptor();
                op.run(&src, &d);
                Image want = MakeImage(17, 15, pitch, 0xEEEE, 8);
                for (int y = 0; y < 15; ++y) {
                    for (int x = 0; x < 17; ++x)
                        want.Set(x, y, expected.At(x, y));
                }
                EXPECT_EQ(dst.memory, want.memory)
                    << op.name << ", source " << (source_bottom_up ? "bottom-up" : "top-down")
                    << ", destination pitch " << pitch;
            }
        }
    }
}

TEST_F(BadSurfaces, RotationReadsOnlyTheSignOfTheTexturePitchButNeedsANumberForAnAngle) {
    // Rows are 512 bytes apart whatever the pitch; only its sign is read (bottom-up above).
    EXPECT_FALSE(DrawsNothing(kOperations[0], [](MdnSurface& s, MdnSurface&) { s.pitch = 2; }));
    EXPECT_FALSE(DrawsNothing(kOperations[0], [](MdnSurface& s, MdnSurface&) { s.pitch = 0; }));

    Image texture = MakeTexture(0x1234);
    const MdnSurface s = texture.Descriptor();
    for (float angle :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
          -std::numeric_limits<float>::infinity()}) {
        Image dst = MakeImage(16, 16, 32, 0xEEEE);
        const std::vector<uint8_t> before = dst.memory;
        const MdnSurface d = dst.Descriptor();
        bitmap::RotateBitmap(&s, &d, angle);
        bitmap::RotateBitmapMasked(&s, &d, angle);
        EXPECT_EQ(dst.memory, before) << angle;
    }
    // Huge finite angles are still angles.
    Image dst = MakeImage(16, 16, 32, 0xEEEE);
    const MdnSurface d = dst.Descriptor();
    bitmap::RotateBitmap(&s, &d, 3.0e38f);
    EXPECT_EQ(dst.At(8, 8), 0x1234);
}

TEST_F(BadSurfaces, ScalingDrawsNothingForUnknownFiltersOrAVanishingStep) {
    for (uint32_t filter : {4u, 5u, 0x80000000u, 0xFFFFFFFFu}) {
        Image src = MakeImage(16, 16, 32, 0x1234);
        Image dst = MakeImage(16, 16, 32, 0xEEEE);
        const std::vector<uint8_t> before = dst.memory;
        const MdnSurface s = src.Descriptor(), d = dst.Descriptor();
        bitmap::StretchBitmap(&s, &d, filter);
        EXPECT_EQ(dst.memory, before) << filter;
    }
    // One source pixel across more than 1024 destination pixels: the 22.10 step is 0.
    for (uint32_t filter = 0; filter <= 3; ++filter) {
        Image src = MakeImage(1, 1, 2, 0x1234);
        Image dst = MakeImage(1025, 1, 2050, 0xEEEE);
        const std::vector<uint8_t> before = dst.memory;
        const MdnSurface s = src.Descriptor(), d = dst.Descriptor();
        bitmap::StretchBitmap(&s, &d, filter);
        EXPECT_EQ(dst.memory, before) << filter;
        Image one = MakeImage(1024, 1, 2048, 0xEEEE);
        const MdnSurface o = one.Descriptor();
        bitmap::StretchBitmap(&s, &o, filter);
        EXPECT_EQ(one.At(1023, 0), filter == 0 ? 0x1234 : 0x1234 & 0x7FFF) << filter;
    }
}

TEST_F(BadSurfaces, LargestSizesKeepStepsAndProductsInRange) {
    // 32767 pixels wide: rows of that width only fit the 16-bit pitch as one row (pitch 0
    // makes the row below the same row).
    Image src = MakeImage(32767, 1, 0, 0x0421);
    for (uint32_t filter = 0; filter <= 3; ++filter) {
        Image dst = MakeImage(32767, 1, 0, 0xEEEE);
        MdnSurface s = src.Descriptor(), d = dst.Descriptor();
        s.height = 2;
        bitmap::StretchBitmap(&s, &d, filter);
        EXPECT_EQ(dst.At(0, 0), 0x0421) << filter;
        EXPECT_EQ(dst.At(32766, 0), 0x0421) << filter;
    }
    // A wide window, and scales near 2^30 (texture size 32767 into three pixels).
    Image texture = MakeTexture(0x0421);
    MdnSurface t = texture.Descriptor();
    t.width = 32767;
    t.height = 32767;
    Image wide = MakeImage(32767, 3, 0, 0xEEEE);
    const MdnSurface w = wide.Descriptor();
    bitmap::RotateBitmap(&t, &w, 45.0f);
    EXPECT_EQ(wide.At(16383, 0), 0x0421);
    Image one = MakeImage(3, 3, 6, 0xEEEE);
    const MdnSurface o = one.Descriptor();
    bitmap::RotateBitmap(&t, &o, -45.0f);
    EXPECT_EQ(one.At(1, 1), 0x0421);
}

}  // namespace
