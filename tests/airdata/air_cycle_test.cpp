#include <cmath>
#include <cstring>
#include <limits>

#include "airdata/airdata.h"
#include "host/workers.h"
#include "scripted_panels.h"
#include "service/exports.h"

namespace {

using test::AirDataModule;

// A flight where every variable has a value of its own, so a field fed from the wrong token
// or with the wrong constant shows.
void ScriptFlight(test::PanelsScript& s) {
    s.values = {{2, 1000.0},   {60, -2.7},    {64, 32768.0}, {86, 123.456}, {82, 55.5},
                {71, 5000875}, {72, 0x1p46},  {73, 1000.0},  {77, 12.5},    {79, 7.25},
                {551, 100.0},  {552, 200.0},  {553, 300.0},  {556, 10.5},   {351, 1248.0},
                {350, 3.5},    {341, 0.125},  {5, 30.0},     {6, 13.0},     {7, 45.0},
                {604, 604.5},  {67, 9.99},    {69, 254.0},   {849, 849.25}, {850, 850.75},
                {624, 85.0},   {643, 42.0},   {136, 8192.0}, {171, 4096.0}, {567, 671.67},
                {577, 491.67}, {628, 220.46}, {647, 110.23}, {561, 581.67}, {571, 536.67},
                {633, 633.5},  {652, 652.5},  {562, 2880.0}, {572, 1440.0}};
    s.words = {{23, 0x2227}, {870, 0x3385}};
    s.aircraft = {{57, 4500.5}, {25, 120.25}, {24, 118.75}};
}

TEST_F(AirDataModule, ReadsEveryVariableBeforeWritingAndEachAircraftVariableJustBeforeItsField) {
    ScriptFlight(script());
    airdata::Cycle();

    std::vector<std::string> expected;
    for (int token : {2,   60,  64,  86,  82,  71,  72,  73,  77,  79,  551, 552, 553, 556,
                      351, 350, 341, 5,   6,   7,   604, 67,  69,  849, 850, 624, 643, 136,
                      171, 567, 577, 628, 647, 561, 571, 633, 652, 562, 572, 23,  870}) {
        expected.push_back("lookup " + std::to_string(token) + ", writing at 0");
    }
    expected.insert(expected.end(), {"unit feet", "aircraft 57 1001 0, writing at 120",
                                     "unit knots", "aircraft 25 1002 0, writing at 136",
                                     "unit knots", "aircraft 24 1002 0, writing at 140"});
    EXPECT_TRUE(test::SameCalls(expected, script().log));
}

TEST_F(AirDataModule, EveryFieldFollowsItsRule) {
    ScriptFlight(script());
    airdata::Cycle();
    const MdnAirDataBlock& b = block();

    EXPECT_EQ(b.timeOfDay, 49530.0);
    EXPECT_EQ(b.value604, 604.5);
    EXPECT_DOUBLE_EQ(b.latitude, 0.7854020896983419);
    EXPECT_DOUBLE_EQ(b.longitude, 1.5707963267948966);
    EXPECT_DOUBLE_EQ(b.altitude, 3280.84);
    EXPECT_DOUBLE_EQ(b.value552, 60.96);
    EXPECT_DOUBLE_EQ(b.value553, 91.44);
    EXPECT_DOUBLE_EQ(b.value551, 30.48);
    EXPECT_EQ(b.value77, -12.5);
    EXPECT_EQ(b.value86, 123.456);
    EXPECT_EQ(b.value79, 7.25);
    EXPECT_EQ(b.value351, 2.0);
    EXPECT_EQ(b.value69, 2.0);
    EXPECT_EQ(b.value60, -2);
    EXPECT_EQ(b.aircraftVar57, 4500.5f);
    EXPECT_EQ(b.altitudeSingle, 3280.840087890625f);
    EXPECT_EQ(b.value556PerMinute, 630.0f);
    EXPECT_EQ(b.aircraftVar25, 120.25f);
    EXPECT_EQ(b.aircraftVar24, 118.75f);
    EXPECT_FLOAT_EQ(b.value64, 1.6f);
    EXPECT_EQ(b.value67, 9);
    EXPECT_EQ(b.value86Single, 123.456f);
    EXPECT_EQ(b.value82, 55.5f);
    EXPECT_EQ(b.value350, 896.0f);
    EXPECT_EQ(b.value341, 0.125f);
    EXPECT_EQ(b.frequency23, 122.275f);
    EXPECT_EQ(b.frequency870, 133.85f);
    EXPECT_EQ(b.value850, 850.75f);
    EXPECT_EQ(b.value849, 849.25f);

    EXPECT_EQ(b.g1Percent, 0.85f);
    EXPECT_EQ(b.g1Fraction, 0.5f);
    EXPECT_EQ(b.g1TemperatureA, 100.0f);
    EXPECT_FLOAT_EQ(b.g1Mass, 100.0f);
    EXPECT_EQ(b.g1Value, 633.5f);
    EXPECT_FLOAT_EQ(b.g1TemperatureB, 50.0f);
    EXPECT_EQ(b.g1Constant, 18.0f);
    EXPECT_FLOAT_EQ(b.g1Pressure, 20.0f);
    EXPECT_EQ(b.g2Percent, 0.42f);
    EXPECT_EQ(b.g2Fraction, 0.25f);
    EXPECT_EQ(b.g2TemperatureA, 0.0f);
    EXPECT_FLOAT_EQ(b.g2Mass, 50.0f);
    EXPECT_EQ(b.g2Value, 652.5f);
    EXPECT_FLOAT_EQ(b.g2TemperatureB, 25.0f);
    EXPECT_EQ(b.g2Constant, 18.0f);
    EXPECT_FLOAT_EQ(b.g2Pressure, 10.0f);
}

TEST_F(AirDataModule, SinglePrecisionRoundingComesFirstWhereTheRuleSaysSo) {
    ScriptFlight(script());
    // Halfway between two singles: rounded first it is 1.0, so 60.0 per minute; unrounded
    // it would give 60.0000038.
    script().values[556] = 1.0 + 0x1p-24;
    airdata::Cycle();
    EXPECT_EQ(block().value556PerMinute, 60.0f);
    // 3280.840087890625 - 12.815781593322754 in single; subtracting the unrounded values
    // would give 3268.024169921875.
    EXPECT_EQ(block().heightAboveGround, 3268.0244140625f);
}

TEST_F(AirDataModule, RadioFrequenciesComeFromFourDecimalDigitsInTheLowWord) {
    ScriptFlight(script());
    for (auto [digits, mhz] : {std::pair{0x2227u, 122.275f},
                               {0x2225u, 122.25f},
                               {0x2221u, 122.2f},
                               {0x2220u, 122.2f},
                               {0x1180u, 111.8f}}) {
        script().words[23] = digits;
        script().words[870] = digits;
        airdata::Cycle();
        EXPECT_EQ(block().frequency23, mhz) << std::hex << digits;
        EXPECT_EQ(block().frequency870, mhz) << std::hex << digits;
    }
    EXPECT_DOUBLE_EQ(airdata::DecodeFrequency(0x2172), 121.725);
    EXPECT_DOUBLE_EQ(airdata::DecodeFrequency(0xFFFF2227), 122.275);  // above 16 bits: nothing
}

TEST_F(AirDataModule, WholeNumbersTruncateTowardZero) {
    ScriptFlight(script());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (auto [value, whole] : {std::pair{-2.7, -2},
                                {2.7, 2},
                                {-0.5, 0},
                                {2147483647.9, INT32_MAX},
                                {-2147483648.9, INT32_MIN},
                                {4e9, INT32_MIN},
                                {nan, INT32_MIN}}) {
        script().values[60] = value;
        script().values[67] = value;
        airdata::Cycle();
        EXPECT_EQ(block().value60, whole) << value;
        EXPECT_EQ(block().value67, whole) << value;
    }
}

TEST_F(AirDataModule, LeadingWordsAreRewrittenAsZeroAndReservedBytesKeepTheCreatorsPattern) {
    ScriptFlight(script());
    airdata::Cycle();
    block().word0 = 0x12345678;  // a reader writing where it should not
    block().word1 = 0x9ABCDEF0;
    airdata::Cycle();
    EXPECT_EQ(block().word0, 0u);
    EXPECT_EQ(block().word1, 0u);

    const struct {
        size_t offset, size;
    } reserved[] = {{116, 4}, {172, 4}, {180, 24}, {212, 104}, {380, 4}};
    for (auto r : reserved) {
        for (size_t i = r.offset; i < r.offset + r.size; ++i) {
            EXPECT_EQ(bytes()[i], test::kPattern) << "byte " << i;
        }
    }
}

// A lookup that answers nothing but keeps a note of its own in the first record it sees.
MdnVariableQuery* first_record;
uint32_t note;
uint32_t MDN_STDCALL NoteTakingLookup(MdnVariableQuery* r) {
    if (first_record == nullptr)
        first_record = r;
    if (r == first_record)
        note = r->reserved4[0]++;
    return 1;
}
int32_t MDN_STDCALL AnyUnit(const char*) {
    return 0;
}
double MDN_STDCALL NoAircraftValue(int32_t, int32_t, int32_t) {
    return 0.0;
}

TEST_F(AirDataModule, QueryRecordsPersistBetweenCycles) {
    ScriptFlight(script());
    airdata::Cycle();
    void* table[80] = {};
    table[40] = reinterpret_cast<void*>(&NoteTakingLookup);
    table[73] = reinterpret_cast<void*>(&AnyUnit);
    table[75] = reinterpret_cast<void*>(&NoAircraftValue);
    ImportTable[0].table = table;
    first_record = nullptr;
    note = 0;
    airdata::Cycle();
    airdata::Cycle();
    ImportTable[0].table = nullptr;
    ASSERT_NE(first_record, nullptr);
    EXPECT_EQ(first_record->token, 2);
    EXPECT_EQ(note, 1u);  // the simulator's note survived to the next cycle
    // So did the values of the earlier cycle, which this lookup left alone.
    EXPECT_EQ(block().timeOfDay, 49530.0);
}

TEST_F(AirDataModule, WithoutThePanelsEntriesNothingIsReadOrWritten) {
    ImportTable[0].table = nullptr;
    airdata::Cycle();
    for (size_t i = 0; i < MDN_AIRDATA_SIZE; ++i)
        ASSERT_EQ(bytes()[i], test::kPattern) << i;
    EXPECT_TRUE(script().log.empty());
}

TEST_F(AirDataModule, WithoutTheBlockTheWorkerPublishesNothing) {
    airdata::DestroyBlock();
    ScriptFlight(script());
    airdata::Cycle();
    EXPECT_EQ(airdata::Block(), nullptr);
    EXPECT_TRUE(script().log.empty());
    for (size_t i = 0; i < MDN_AIRDATA_SIZE; ++i)
        ASSERT_EQ(bytes()[i], test::kPattern) << i;
}

}  // namespace
