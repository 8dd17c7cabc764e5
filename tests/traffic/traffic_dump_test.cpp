#include <cstring>

#include "traffic_fixture.h"

namespace {

using test::ScriptedAircraft;
using test::TrafficTest;

using TrafficDump = TrafficTest;

constexpr char kDumpFile[] = "C:\\dbgFsAiTfc.txt";
constexpr char kMissingModule[] =
    "Meridane Service Module failed to init AI Traffic. Missing FS Module: TrafficInfo.DLL\n";

std::string DumpText() {
    return fake::ReadFile(kDumpFile).value_or("(no file)");
}

ScriptedAircraft At(uint32_t id, double latitude, double longitude, double altitude,
                    const std::string& atc_id) {
    ScriptedAircraft a;
    a.id = id;
    a.latitude = latitude;
    a.longitude = longitude;
    a.indicated_altitude = altitude;
    a.plane_altitude = altitude;
    a.atc_id = atc_id;
    a.name = atc_id;
    return a;
}

TEST_F(TrafficDump, WritesHeaderThenLongitudeLatitudeAltitudeAndName) {
    sim.modes = {1};
    sim.token71 = 5000875.0;
    sim.token72 = 70368744177664.0;
    sim.token829 = 1000.0;
    sim.aircraft = {At(0x1A2B, 47.123456, -122.98765, 1234.567, "N123AB"),
                    At(0xCAFEF00D, -33.5, 151.25, 0.0, "QFA1")};
    traffic::DumpTrafficCommand();
    EXPECT_EQ(DumpText(),
              "--- 3 aircrafts in 0 0 time ----------------------\n"
              "00000000: 90.0000 45.0000 3280.84 SELF\n"
              "00001A2B: -122.9877 47.1235 1234.57 N123AB\n"
              "CAFEF00D: 151.2500 -33.5000 0.00 QFA1\n"
              "\n\n");
    EXPECT_TRUE(
        test::SameCalls({"OpenTextFile(\"C:\\dbgFsAiTfc.txt\", \"a\")", "MessageBeep(0)"},
                        fake::CallsOf(std::vector<std::string>{"OpenTextFile", "MessageBeep"})));
}

TEST_F(TrafficDump, ConnectedWithoutAircraftInMode0WritesTheHeaderOnly) {
    traffic::DumpTrafficCommand();
    EXPECT_EQ(DumpText(), "--- 0 aircrafts in 0 0 time ----------------------\n\n\n");
}

TEST_F(TrafficDump, TwoDumpsAppendTwoBlocksOldestFirst) {
    fake::WriteFile(kDumpFile, "earlier\n");
    sim.aircraft = {At(1, 1.0, 2.0, 3.0, "ONE")};
    traffic::DumpTrafficCommand();
    sim.aircraft = {At(2, 4.0, 5.0, 6.0, "TWO")};
    traffic::DumpTrafficCommand();
    EXPECT_EQ(DumpText(),
              "earlier\n"
              "--- 1 aircrafts in 0 0 time ----------------------\n"
              "00000001: 2.0000 1.0000 3.00 ONE\n\n\n"
              "--- 1 aircrafts in 0 0 time ----------------------\n"
              "00000002: 5.0000 4.0000 6.00 TWO\n\n\n");
}

TEST_F(TrafficDump, MissingModuleIsReportedInEveryBlockAndBoxedOnce) {
    sim.registered = false;
    traffic::DumpTrafficCommand();
    traffic::DumpTrafficCommand();
    EXPECT_EQ(DumpText(), std::string(kMissingModule) + "\n\n" + kMissingModule + "\n\n");
    EXPECT_EQ(fake::MessageBoxes().size(), 1u);
    EXPECT_EQ(fake::CallsOf("MessageBeep").size(), 2u);
}

TEST_F(TrafficDump, UnopenableFileStillBeeps) {
    fake::SetFileLocked(kDumpFile, true);
    sim.aircraft = {At(1, 1.0, 2.0, 3.0, "ONE")};
    traffic::DumpTrafficCommand();
    EXPECT_FALSE(fake::ReadFile(kDumpFile).has_value());
    EXPECT_TRUE(
        test::SameCalls({"OpenTextFile(\"C:\\dbgFsAiTfc.txt\", \"a\")", "MessageBeep(0)"},
                        fake::CallsOf(std::vector<std::string>{"OpenTextFile", "MessageBeep"})));
    EXPECT_TRUE(fake::MessageBoxes().empty());
}

TEST_F(TrafficDump, UnterminatedMode0NameStopsAtItsField) {
    sim.aircraft = {At(1, 1.0, 2.0, 3.0, "0123456789ABCDEFGHIJ")};
    traffic::DumpTrafficCommand();
    ASSERT_EQ(traffic::State().record_count, 1u);
    EXPECT_EQ(std::memcmp(traffic::State().records[0].name, "0123456789ABCDEF", 16), 0);
    EXPECT_EQ(DumpText(),
              "--- 1 aircrafts in 0 0 time ----------------------\n"
              "00000001: 2.0000 1.0000 3.00 0123456789ABCDEF\n\n\n");
}

TEST_F(TrafficDump, NamesAreEscapedSoEachAircraftIsOneLine) {
    sim.aircraft = {At(1, 1.0, 2.0, 3.0, "A\nB\"C\\\xE9")};
    traffic::DumpTrafficCommand();
    EXPECT_EQ(DumpText(),
              "--- 1 aircrafts in 0 0 time ----------------------\n"
              "00000001: 2.0000 1.0000 3.00 A\\x0AB\\x22C\\\\\\xE9\n\n\n");
}

TEST_F(TrafficDump, RefreshesEveryTimeWithoutMovingTheGaugesCacheTime) {
    sim.aircraft = {At(1, 1.0, 2.0, 3.0, "ONE")};
    std::vector<MdnTrafficRecord> records(MDN_TRAFFIC_MAX);
    ASSERT_EQ(traffic::GetTrafficList(records.data()), 1u);  // at 10000
    fake::AdvanceTime(100);
    traffic::DumpTrafficCommand();
    traffic::DumpTrafficCommand();
    EXPECT_EQ(fake::CallsOf("AircraftInRadius").size(), 3u);
    EXPECT_EQ(traffic::State().last_refresh, 10000u);
    fake::AdvanceTime(151);  // 251 after the slot's refresh
    traffic::GetTrafficList(records.data());
    EXPECT_EQ(fake::CallsOf("AircraftInRadius").size(), 4u);
}

}  // namespace
