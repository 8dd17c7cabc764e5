// DrawTerrainMap: bands and mask, elevation steps, orientation, scale and surface bounds.
#include <cmath>
#include <vector>

#include "support/internals_stand_in.h"
#include "runtime/x87_guard.h"
#include "service/exports.h"

namespace {

using queries::DrawTerrainMap;
using stand_in::InternalsTest;
using stand_in::world;

constexpr uint8_t kUntouched = 0xEE;

class TerrainMap : public InternalsTest {
  protected:
    void SetUp() override {
        InternalsTest::SetUp();
        InstallAll();
    }
    // A surface of width x height bytes followed by a guard of 64 bytes.
    void MakeSurface(int16_t width, int16_t height) {
        const size_t size = width > 0 && height > 0 ? size_t(width) * height : 0;
        bytes_.assign(size + 64, kUntouched);
        surface_ = MdnSurface{reinterpret_cast<uint16_t*>(bytes_.data()), width, height, 0};
    }
    uint32_t Draw(uint32_t mask, double heading = 0.0, float range = 2.0f, float column = 4.5f,
                  float row = 4.5f) {
        position_[2] = heading;
        return DrawTerrainMap(&surface_, position_, range, column, row, mask);
    }
    uint8_t At(int column, int row) const { return bytes_[size_t(row) * surface_.height + column]; }
    size_t Written() const {
        size_t n = 0;
        for (uint8_t b : bytes_)
            n += b != kUntouched;
        return n;
    }
    bool GuardIntact() const {
        const size_t size = bytes_.size() - 64;
        for (size_t i = size; i < bytes_.size(); ++i) {
            if (bytes_[i] != kUntouched)
                return false;
        }
        return true;
    }
    std::vector<uint8_t> bytes_;
    MdnSurface surface_{};
    double position_[3] = {50.0, 8.0, 0.0};
};

TEST_F(TerrainMap, MaskZeroWritesNothingButIsProcessed) {
    MakeSurface(8, 8);
    EXPECT_EQ(Draw(0, 30.0) & 0xFF, 1u);
    EXPECT_EQ(Written(), 0u);
    EXPECT_EQ(world().elevation_calls.size(), 1u);  // the one call for the reference point
    EXPECT_EQ(world().elevation_calls[0], std::make_pair(50.0, 8.0));
    EXPECT_DOUBLE_EQ(position_[2], -210.0 * 0.017453292519943295);
    EXPECT_EQ(Draw(0xFFFFFFF0u), 1u);  // only the four band bits count
    EXPECT_EQ(Written(), 0u);
}

TEST_F(TerrainMap, FullMaskComputesFourWholeBandsOfRows) {
    world().terrain = [](double, double) { return 10.0; };
    MakeSurface(10, 10);
    EXPECT_EQ(Draw(15), 1u);
    EXPECT_EQ(world().elevation_calls.size(), 1u + 80u);
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 10; ++column) {
            EXPECT_EQ(At(column, row), row < 8 ? 2 : kUntouched) << column << "," << row;
        }
    }
}

TEST_F(TerrainMap, EachMaskBitSelectsOneBand) {
    world().terrain = [](double, double) { return 10.0; };
    const struct {
        uint32_t mask;
        int first_row;
    } bands[] = {{8, 0}, {4, 2}, {2, 4}, {1, 6}};
    for (const auto& band : bands) {
        MakeSurface(8, 8);
        Draw(band.mask);
        for (int row = 0; row < 8; ++row) {
            const bool computed = row == band.first_row || row == band.first_row + 1;
            for (int column = 0; column < 8; ++column) {
                EXPECT_EQ(At(column, row), computed ? 2 : kUntouched)
                    << "mask " << band.mask << " at " << column << "," << row;
            }
        }
    }
}

TEST_F(TerrainMap, ElevationIsShownIn150FootSteps) {
    const struct {
        double metres;
        uint8_t step;
    } cases[] = {{-5.1, 0},  {-5.0, 1},  {-1000.0, 0}, {0.0, 1},     {0.001, 2},          {10.0, 2},
                 {100.0, 4}, {45.72, 2}, {50.0, 3},    {1000.0, 23}, {20000.0, 439 - 256}};
    // 45.72 m is one step exactly: 2.5 goes to the even 2.
    MakeSurface(4, 4);
    for (const auto& c : cases) {
        world().terrain = [&](double, double) { return c.metres; };
        Draw(15);
        EXPECT_EQ(At(2, 3), c.step) << c.metres << " m";
    }
}

// North of the reference point the ground is high, east of it medium, elsewhere sea.
double Quadrants(double lat, double lon) {
    const double half_pixel = 0.5 / 120.0;
    if (lat > 50.0 + half_pixel)
        return 1000.0;  // step 23
    if (lon > 8.0 + half_pixel)
        return 100.0;  // step 4
    return -10.0;      // step 0
}

TEST_F(TerrainMap, HeadingZeroIsNorthUp) {
    world().terrain = Quadrants;
    MakeSurface(8, 8);
    Draw(15, 0.0);
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const uint8_t expected = row < 4 ? 23 : column > 4 ? 4 : 0;
            EXPECT_EQ(At(column, row), expected) << column << "," << row;
        }
    }
}

TEST_F(TerrainMap, Heading90PutsEastAtTheTop) {
    world().terrain = Quadrants;
    MakeSurface(8, 8);
    Draw(15, 90.0);
    EXPECT_DOUBLE_EQ(position_[2], -270.0 * 0.017453292519943295);
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            const uint8_t expected = column < 4 ? 23 : row < 4 ? 4 : 0;
            EXPECT_EQ(At(column, row), expected) << column << "," << row;
        }
    }
}

TEST_F(TerrainMap, RangeSpansTwiceTheHeightInNauticalMiles) {
    MakeSurface(8, 8);
    Draw(8, 0.0, 2.0f);  // 2 nm over 4 pixels: 1/120 degree of latitude per pixel
    const auto& calls = world().elevation_calls;
    ASSERT_EQ(calls.size(), 1u + 16u);
    const double lat_step = 1.0 / 120.0;
    const double lon_step = lat_step / std::cos(50.0 * 0.017453292519943295);
    // Row 0, column 4: four pixels north of the reference point.
    EXPECT_NEAR(calls[1 + 4].first, 50.0 + 4 * lat_step, 1e-12);
    EXPECT_NEAR(calls[1 + 4].second, 8.0, 1e-12);
    // Row 1, column 7: three pixels north, three east.
    EXPECT_NEAR(calls[1 + 8 + 7].first, 50.0 + 3 * lat_step, 1e-12);
    EXPECT_NEAR(calls[1 + 8 + 7].second, 8.0 + 3 * lon_step, 1e-12);
}

TEST_F(TerrainMap, NarrowSurfacesAreWrittenOnlyWithinWidthTimesHeight) {
    world().terrain = [](double, double) { return 10.0; };
    MakeSurface(4, 8);  // computed rows of 8 bytes would need 64 bytes for 32
    EXPECT_EQ(Draw(15), 1u);
    EXPECT_EQ(Written(), 32u);
    EXPECT_TRUE(GuardIntact());
    EXPECT_EQ(world().elevation_calls.size(), 1u + 32u);
    MakeSurface(1, 100);
    EXPECT_EQ(Draw(1), 1u);  // skipped bands alone reach past the 100 bytes
    EXPECT_TRUE(GuardIntact());
}

TEST_F(TerrainMap, WideSurfacesPackComputedRowsAndSkipWholeRows) {
    world().terrain = [](double, double) { return 10.0; };
    MakeSurface(12, 8);
    Draw(15);
    EXPECT_EQ(Written(), 64u);  // 8 rows of 8 bytes, from the start
    for (size_t i = 0; i < 64; ++i)
        EXPECT_EQ(bytes_[i], 2) << i;
    MakeSurface(12, 8);
    Draw(1);  // three skipped bands advance 3 x 2 x 12 bytes
    for (size_t i = 0; i < bytes_.size(); ++i) {
        EXPECT_EQ(bytes_[i], i >= 72 && i < 88 ? 2 : kUntouched) << i;
    }
}

TEST_F(TerrainMap, EmptyAndNegativeSizesWriteNothing) {
    for (auto [w, h] : {std::pair<int16_t, int16_t>{0, 8},
                        {8, 0},
                        {8, 3},
                        {-8, 8},
                        {8, -8},
                        {-8, -8},
                        {-32768, -32768}}) {
        MakeSurface(w, h);
        EXPECT_EQ(Draw(15), 1u) << w << "x" << h;
        EXPECT_EQ(Written(), 0u) << w << "x" << h;
    }
}

TEST_F(TerrainMap, MissingSurfacePositionOrElevationGivesFalse) {
    MakeSurface(8, 8);
    EXPECT_EQ(DrawTerrainMap(nullptr, position_, 1.0f, 0, 0, 15), 0u);
    EXPECT_EQ(DrawTerrainMap(&surface_, nullptr, 1.0f, 0, 0, 15), 0u);
    MdnSurface no_pixels{nullptr, 8, 8, 16};
    EXPECT_EQ(DrawTerrainMap(&no_pixels, position_, 1.0f, 0, 0, 15), 0u);
    EXPECT_TRUE(world().elevation_calls.empty());

    internals::ResetSimulatorInternals();
    fake::RemoveModule(stand_in::PlainName(internals::kModuleD));
    EXPECT_EQ(Draw(15), 0u);
    EXPECT_EQ(Written(), 0u);
    EXPECT_EQ(position_[2], 0.0);
}

// Through the table, a caller in single precision gets the map and the points asked for of a
// caller at 0x027F, and a caller with invalid operation and zero divide unmasked gets no
// exception from a surface without rows (a division by zero inside) nor from an infinite
// latitude; each gets its control word back.
TEST_F(TerrainMap, CallerX87SettingsChangeNothingAndComeBack) {
    const uint16_t test_word = runtime::X87ControlWord();
    auto draw_with = [&](uint16_t caller_word) {
        world().elevation_calls.clear();
        runtime::SetX87ControlWord(caller_word);
        const uint32_t done =
            MdnSrv.table->DrawTerrainMap(&surface_, position_, 2.7f, 4.5f, 4.5f, 15);
        const uint16_t word_after = runtime::X87ControlWord();
        runtime::SetX87ControlWord(test_word);
        EXPECT_EQ(word_after, caller_word);
        return done;
    };
    world().terrain = [](double lat, double lon) { return (lat - 50.0) * 1e6 + lon * 10.0; };
    MakeSurface(8, 8);
    position_[2] = 33.3;
    EXPECT_EQ(draw_with(runtime::kModuleControlWord), 1u);
    const std::vector<uint8_t> map = bytes_;
    const auto points = world().elevation_calls;
    MakeSurface(8, 8);
    position_[2] = 33.3;
    EXPECT_EQ(draw_with(0x007F), 1u);
    EXPECT_EQ(bytes_, map);
    EXPECT_EQ(world().elevation_calls, points);

    MakeSurface(8, 0);
    EXPECT_EQ(draw_with(0x027A), 1u);
    MakeSurface(8, 8);
    position_[0] = INFINITY;
    EXPECT_EQ(draw_with(0x027A), 1u);
}

}  // namespace
