// Queries 1100 to 1104 and controls 65576 to 65578 against stand-in simulator internals, and
// the nearest-integer rounding they share.
#include <cmath>
#include <cstring>
#include <limits>

#include "queries/nearest_integer.h"
#include "support/internals_stand_in.h"

namespace {

using queries::NearestLow32;
using queries::ServiceControl;
using queries::ServiceQuery;
using stand_in::InternalsTest;
using stand_in::world;

TEST(QueryRounding, NearestIntegerTiesToEvenInTheLow32Bits) {
    const struct {
        double x;
        uint32_t expected;
    } cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-2.5, 0xFFFFFFFEu},
        {-2.5000001, 0xFFFFFFFDu},
        {2.5000001, 3},  // a longer mantissa would round this to the tie and then down
        {2.4999999, 2},
        {4294967296.0 + 7.0, 7},
        {-4294967296.0 * 3 - 1.0, 0xFFFFFFFFu},
        {2251799813685247.5, 0},  // 2^51 - 0.5: ties to the even 2^51
        {std::numeric_limits<double>::infinity(), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NearestLow32(c.x), c.expected) << c.x;
    // Far outside the range the sum keeps the integer in, the sum's own low bits come out.
    const double huge = 1e300;
    uint64_t bits;
    std::memcpy(&bits, &huge, sizeof bits);
    EXPECT_EQ(NearestLow32(huge), static_cast<uint32_t>(bits));
}

using QueryPositionAngle = InternalsTest;

float AngleFor(uint32_t raw, float latitude = 0.0f, float longitude = 0.0f) {
    world().angle = static_cast<int32_t>(raw);
    float io[3] = {latitude, longitude, -1234.0f};
    EXPECT_EQ(ServiceQuery(MDN_QUERY_POSITION_ANGLE, io), 1u);
    EXPECT_EQ(io[0], latitude);
    EXPECT_EQ(io[1], longitude);
    return io[2];
}

TEST_F(QueryPositionAngle, AnglesBecomeDegreesAboveMinus180UpTo180) {
    InstallAll();
    EXPECT_EQ(AngleFor(0xC0000000u), -90.0f);
    EXPECT_EQ(AngleFor(0x40000000u), 90.0f);
    EXPECT_EQ(AngleFor(0), 0.0f);
    EXPECT_EQ(AngleFor(0x80000000u), 180.0f);
    EXPECT_EQ(AngleFor(0x20000000u), 45.0f);
    EXPECT_EQ(AngleFor(0xE0000000u), -45.0f);
    EXPECT_EQ(AngleFor(0xFFFFFFFFu), 0.0f);  // 359.99999992 is 360 as a float
}

TEST_F(QueryPositionAngle, PositionIsInTheSimulatorsUnits) {
    InstallAll();
    AngleFor(0, 45.0f, -90.0f);
    AngleFor(0, -90.0f, 180.0f);
    AngleFor(0, 0.25f, 1.0f);
    ASSERT_EQ(world().positions.size(), 3u);
    const struct {
        uint32_t latitude, longitude;
    } expected[] = {{5000875u, 0xC0000000u},
                    {static_cast<uint32_t>(-10001750), 0x80000000u},
                    {27783u, 11930465u}};  // 27782.64 and 11930464.71
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(world().positions[i].latitude_fraction, 0u);
        EXPECT_EQ(world().positions[i].latitude, expected[i].latitude) << i;
        EXPECT_EQ(world().positions[i].longitude_fraction, 0u);
        EXPECT_EQ(world().positions[i].longitude, expected[i].longitude) << i;
    }
}

TEST_F(QueryPositionAngle, WithoutTheFunctionTheOutputIsUntouched) {
    InstallModule(internals::kModuleD);
    float io[3] = {1.0f, 2.0f, 3.0f};
    EXPECT_EQ(ServiceQuery(MDN_QUERY_POSITION_ANGLE, io), 1u);
    EXPECT_EQ(io[2], 3.0f);
}

using QueryElevation = InternalsTest;

TEST_F(QueryElevation, TheElevationFunctionAnswersForTheGivenPoint) {
    InstallAll();
    world().terrain = [](double lat, double lon) { return lat * 100.0 + lon; };
    double io[3] = {10.5, -20.25, 777.0};
    EXPECT_EQ(ServiceQuery(MDN_QUERY_ELEVATION, io), 1u);
    EXPECT_EQ(io[2], 1029.75);
    ASSERT_EQ(world().elevation_calls.size(), 1u);
    EXPECT_EQ(world().elevation_calls[0], std::make_pair(10.5, -20.25));
}

TEST_F(QueryElevation, UnresolvedLeavesTheOutputUntouched) {
    double io[3] = {10.5, -20.25, 777.0};
    EXPECT_EQ(ServiceQuery(MDN_QUERY_ELEVATION, io), 1u);
    EXPECT_EQ(io[2], 777.0);
}

class QueryGains : public InternalsTest {
  protected:
    void SetUp() override {
        InternalsTest::SetUp();
        const double levels[] = {0.0, -6.0, -20.0, 3.0, -100.0, 20.0, -3.0};
        for (int k = 0; k < 7; ++k)
            SetEntry(k, levels[k], 0x100u + k);
    }
    uint32_t Query(int32_t id, uint32_t k) {
        EXPECT_EQ(ServiceQuery(id, &k), 1u);
        return k;
    }
};

TEST_F(QueryGains, PercentIsTheNearestIntegerTo100TimesTheGain) {
    InstallAll();
    const uint32_t expected[] = {100, 50, 10, 141, 0, 1000, 71};
    for (uint32_t k = 0; k < 7; ++k) {
        EXPECT_EQ(Query(MDN_QUERY_GAIN_PERCENT, k), expected[k]) << k;
        EXPECT_EQ(Query(MDN_QUERY_GAIN_WORD, k), 0x100u + k) << k;
    }
}

TEST_F(QueryGains, TableGivesSevenPairsEntryZeroFirst) {
    InstallAll();
    MdnGainPair pairs[8];
    std::memset(pairs, 0xA5, sizeof pairs);
    EXPECT_EQ(ServiceQuery(MDN_QUERY_GAIN_TABLE, pairs), 1u);
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(pairs[k].gain, static_cast<float>(std::pow(
                                     10.0, records_.gain_object.table[k].level_db * 0.05)));
        EXPECT_EQ(pairs[k].word, 0x100u + k);
    }
    EXPECT_EQ(pairs[1].gain, 0.50118723f);
    EXPECT_EQ(pairs[7].word, 0xA5A5A5A5u);
}

TEST_F(QueryGains, IndicesOutsideTheTableAreRefused) {
    InstallAll();
    for (uint32_t k : {7u, 8u, 0x10000u, 0xFFFFFFFFu}) {
        uint32_t io = k;
        EXPECT_EQ(ServiceQuery(MDN_QUERY_GAIN_PERCENT, &io), 0u) << k;
        EXPECT_EQ(io, k);
        EXPECT_EQ(ServiceQuery(MDN_QUERY_GAIN_WORD, &io), 0u) << k;
        EXPECT_EQ(io, k);
    }
}

TEST_F(QueryGains, UnresolvedAnswersOneAndLeavesTheOutputUntouched) {
    EXPECT_EQ(Query(MDN_QUERY_GAIN_PERCENT, 2), 2u);
    EXPECT_EQ(Query(MDN_QUERY_GAIN_WORD, 3), 3u);
    MdnGainPair pairs[7] = {};
    EXPECT_EQ(ServiceQuery(MDN_QUERY_GAIN_TABLE, pairs), 1u);
    EXPECT_EQ(pairs[6].word, 0u);
}

using ControlGains = QueryGains;

TEST_F(ControlGains, SetGainChangesOneEntryInHundredths) {
    InstallAll();
    const uint32_t in = 0x00020032;
    EXPECT_EQ(ServiceControl(MDN_CONTROL_SET_GAIN, &in), 1u);
    ASSERT_EQ(world().setter_calls.size(), 1u);
    const auto& call = world().setter_calls[0];
    EXPECT_EQ(call.object, &records_.gain_object);
    EXPECT_EQ(call.count, 7u);
    EXPECT_EQ(call.pairs[2].gain, 0.5f);
    EXPECT_EQ(call.pairs[2].word, 0x102u);
    EXPECT_EQ(call.pairs[1].gain, 0.50118723f);  // the others as the table holds them
    EXPECT_EQ(call.pairs[6].word, 0x106u);
    EXPECT_EQ(Query(MDN_QUERY_GAIN_PERCENT, 2), 50u);
}

TEST_F(ControlGains, SetWordChangesOneEntrysWord) {
    InstallAll();
    const uint32_t in = 0x0006ABCD;
    EXPECT_EQ(ServiceControl(MDN_CONTROL_SET_GAIN_WORD, &in), 1u);
    ASSERT_EQ(world().setter_calls.size(), 1u);
    EXPECT_EQ(world().setter_calls[0].pairs[6].word, 0xABCDu);
    EXPECT_EQ(world().setter_calls[0].pairs[6].gain, static_cast<float>(std::pow(10.0, -0.15)));
    EXPECT_EQ(Query(MDN_QUERY_GAIN_WORD, 6), 0xABCDu);
}

TEST_F(ControlGains, EntryZeroAndIndicesOutsideTheTableChangeNothing) {
    InstallAll();
    for (uint32_t in : {0x00000032u, 0x00070032u, 0x00080000u, 0xFFFF0032u}) {
        EXPECT_EQ(ServiceControl(MDN_CONTROL_SET_GAIN, &in), 1u);
        EXPECT_EQ(ServiceControl(MDN_CONTROL_SET_GAIN_WORD, &in), 1u);
    }
    EXPECT_TRUE(world().setter_calls.empty());
}

TEST_F(ControlGains, NullInputOrAnUnreadyTableChangesNothing) {
    InstallAll();
    for (uint32_t id :
         {MDN_CONTROL_SET_GAIN, MDN_CONTROL_SET_GAIN_WORD, MDN_CONTROL_SET_GAIN_TABLE}) {
        EXPECT_EQ(ServiceControl(id, nullptr), 1u);
    }
    EXPECT_TRUE(world().setter_calls.empty());

    internals::ResetSimulatorInternals();
    records_.functions[internals::kGainSetterWord] = 0;
    const uint32_t in = 0x00020032;
    MdnGainPair pairs[7] = {};
    EXPECT_EQ(ServiceControl(MDN_CONTROL_SET_GAIN, &in), 1u);
    EXPECT_EQ(ServiceControl(MDN_CONTROL_SET_GAIN_TABLE, pairs), 1u);
    EXPECT_TRUE(world().setter_calls.empty());
}

TEST_F(ControlGains, SetTableKeepsEntryZeroAndLeavesTheCallersPairsAlone) {
    InstallAll();
    MdnGainPair pairs[7];
    for (int k = 0; k < 7; ++k)
        pairs[k] = MdnGainPair{0.25f * k, 0x200u + k};
    const MdnGainPair first = pairs[0];
    EXPECT_EQ(ServiceControl(MDN_CONTROL_SET_GAIN_TABLE, pairs), 1u);
    ASSERT_EQ(world().setter_calls.size(), 1u);
    const auto& call = world().setter_calls[0];
    EXPECT_EQ(call.count, 7u);
    EXPECT_EQ(call.pairs[0].gain, 1.0f);
    EXPECT_EQ(call.pairs[0].word, 0x100u);
    for (int k = 1; k < 7; ++k) {
        EXPECT_EQ(call.pairs[k].gain, 0.25f * k);
        EXPECT_EQ(call.pairs[k].word, 0x200u + k);
    }
    EXPECT_EQ(pairs[0].gain, first.gain);
    EXPECT_EQ(pairs[0].word, first.word);
}

}  // namespace
