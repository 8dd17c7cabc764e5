#include <cstring>
#include <limits>

#include "runtime/module_values.h"
#include "runtime/x87_guard.h"
#include "service/exports.h"
#include "traffic_fixture.h"

namespace {

using test::ScriptedAircraft;
using test::TrafficTest;

using TrafficConnection = TrafficTest;
using SelfRecord = TrafficTest;
using Mode1Snapshot = TrafficTest;
using Mode0Snapshot = TrafficTest;
using TrafficCache = TrafficTest;
using TrafficBounds = TrafficTest;
using CallerX87 = TrafficTest;

constexpr char kNoCallback[] = "Meridane Traffic: Unable to find registered callback";
constexpr char kNoInterface[] = "Meridane Traffic: Unable to query interface ITrafficInfo";

TEST_F(TrafficConnection, RegistersNineVariablesThenFiveUnitsThenAsksWithinHundredMiles) {
    List();
    std::vector<std::string> calls = fake::Calls();
    // The checks that the object's functions lie in code aside.
    std::erase_if(calls, [](const std::string& c) { return c.rfind("VirtualQuery(", 0) == 0; });
    calls.resize(std::min<size_t>(calls.size(), 18));
    EXPECT_TRUE(test::SameCalls(
        {
            "FindRegisteredObject(\"ITrafficInfo\")",
            "QueryInterface(\"object\", \"ITrafficInfo\")",
            "VariableId(\"PLANE LATITUDE\")",
            "VariableId(\"PLANE LONGITUDE\")",
            "VariableId(\"PLANE ALTITUDE\")",
            "VariableId(\"INDICATED ALTITUDE\")",
            "VariableId(\"PLANE HEADING DEGREES TRUE\")",
            "VariableId(\"GROUND VELOCITY\")",
            "VariableId(\"VELOCITY WORLD Y\")",
            "VariableId(\"ATC ID\")",
            "VariableId(\"ENG COMBUSTION\")",
            "UnitId(\"FEET\")",
            "UnitId(\"BOOL\")",
            "UnitId(\"DEGREES\")",
            "UnitId(\"KNOTS\")",
            "UnitId(\"FEET PER MINUTE\")",
            "AircraftInRadius(185200, 100)",
            "Mode(0)",
        },
        calls));
    EXPECT_TRUE(fake::MessageBoxes().empty());
    EXPECT_EQ(traffic::State().connect_pending, 0);
}

TEST_F(TrafficConnection, MissingCallbackShowsOneBoxThenYieldsEmptySnapshots) {
    sim.registered = false;
    sim.aircraft = {Plane(1)};
    EXPECT_EQ(List().size(), 0u);
    fake::AdvanceTime(1000);
    EXPECT_EQ(List().size(), 0u);
    traffic::DumpTrafficCommand();

    const auto boxes = fake::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].text, kNoCallback);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_OK));
    // Never retried, and nothing asked of a module that is not there.
    EXPECT_EQ(fake::CallsOf("FindRegisteredObject").size(), 1u);
    EXPECT_TRUE(fake::CallsOf({"QueryInterface", "AircraftInRadius", "Mode"}).empty());
    EXPECT_EQ(traffic::State().aircraft_id_count, 0u);
}

// The box's own message loop lets a gauge ask again before the box is closed: still one box,
// owned by the simulator window.
TEST_F(TrafficConnection, AskingAgainWhileTheBoxShowsShowsNoSecondBox) {
    sim.registered = false;
    runtime::Values().simulator_window = fake::AddWindow("FS98MAIN");
    int asked_inside = 0;
    fake::WhileMessageBoxShows([&] {
        ++asked_inside;
        fake::AdvanceTime(1000);
        EXPECT_EQ(List().size(), 0u);
    });
    EXPECT_EQ(List().size(), 0u);
    EXPECT_EQ(asked_inside, 1);
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    EXPECT_EQ(fake::MessageBoxes()[0].owner, runtime::SimulatorWindow());
}

TEST_F(TrafficConnection, MissingInterfaceShowsItsOwnBoxOnce) {
    sim.interface_available = false;
    sim.aircraft = {Plane(1)};
    EXPECT_EQ(List().size(), 0u);
    fake::AdvanceTime(1000);
    EXPECT_EQ(List().size(), 0u);
    EXPECT_TRUE(test::SameCalls(
        {"MessageBoxA(0x0, \"" + std::string(kNoInterface) + "\", \"Error\", MB_OK)"},
        fake::CallsOf("MessageBoxA")));
    EXPECT_TRUE(fake::CallsOf({"VariableId", "UnitId", "AircraftInRadius"}).empty());
    EXPECT_EQ(traffic::Connect(), 0u);
}

TEST_F(TrafficConnection, NoPanelsTableCountsAsNoRegisteredCallback) {
    ImportTable[0].table = nullptr;
    EXPECT_EQ(List().size(), 0u);
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    EXPECT_EQ(fake::MessageBoxes()[0].text, kNoCallback);
}

TEST_F(TrafficConnection, UnloadForgetsTheInterfaceAndTheRecords) {
    sim.aircraft = {Plane(1)};
    ASSERT_EQ(List().size(), 1u);
    traffic::Unload();
    EXPECT_EQ(traffic::State().traffic_interface, nullptr);
    EXPECT_EQ(traffic::State().record_count, 0u);
}

TEST_F(SelfRecord, ComesFirstWithThePanelPositionConverted) {
    sim.modes = {1};
    sim.token71 = 5000875.0;
    sim.token72 = 70368744177664.0;  // 2^46
    sim.token829 = 1000.0;
    const auto records = List();
    ASSERT_GE(records.size(), 1u);
    const MdnTrafficRecord& self = records[0];
    EXPECT_EQ(self.id, 0u);
    EXPECT_EQ(self.mode, 1u);
    EXPECT_EQ(self.latitude, 45.0);
    EXPECT_EQ(self.longitude, 90.0);
    EXPECT_EQ(self.altitude, 3280.8398950131236);
    EXPECT_EQ(self.heading, 0.0);
    EXPECT_EQ(self.ground_speed, 0.0);
    EXPECT_EQ(self.vertical_speed, 0.0);
    EXPECT_EQ(self.combustion, 1.0);
    EXPECT_EQ(std::memcmp(self.name, "SELF\0\0\0\0\0\0\0\0\0\0\0\0", 16), 0);
    EXPECT_TRUE(
        test::SameCalls({"LookupPanelVariable(72, \"fresh\")", "LookupPanelVariable(71, \"fresh\")",
                         "LookupPanelVariable(829, \"fresh\")"},
                        fake::CallsOf("LookupPanelVariable")));
}

TEST_F(Mode1Snapshot, LeavesOutTheOwnAircraftAndNavigationAids) {
    sim.modes = {1};
    sim.token71 = 5000875.0;
    sim.token72 = 70368744177664.0;
    ScriptedAircraft own = Plane(0x11);
    own.latitude = 45.0;
    own.longitude = 90.0;
    ScriptedAircraft same_latitude_only = Plane(0x12);
    same_latitude_only.latitude = 45.0;
    sim.aircraft = {own, same_latitude_only, Plane(0x13, "*fsnav VOR"), Plane(0x14, "*FSNAV"),
                    Plane(0x15, "*fsna")};
    const auto records = List();
    EXPECT_EQ(Ids(records), (std::vector<uint32_t>{0, 0x12, 0x14, 0x15}));

    const MdnTrafficRecord& r = records[2];
    const ScriptedAircraft a = Plane(0x14, "*FSNAV");
    EXPECT_EQ(r.mode, 1u);
    EXPECT_EQ(r.latitude, a.latitude);
    EXPECT_EQ(r.longitude, a.longitude);
    EXPECT_EQ(r.heading, a.heading);
    EXPECT_EQ(r.altitude, a.plane_altitude);
    EXPECT_EQ(r.ground_speed, 0.0);
    EXPECT_EQ(r.vertical_speed, 0.0);
    EXPECT_EQ(r.combustion, 0.0);
    EXPECT_STREQ(r.name, "*FSNAV");
}

TEST_F(Mode1Snapshot, AsksForPositionThenModeThenAltitudeAndName) {
    sim.modes = {1};
    sim.aircraft = {Plane(7)};
    List();
    EXPECT_TRUE(test::SameCalls(
        {
            "Mode(1)",
            "ReadNumber(0x7, \"PLANE LATITUDE\", \"DEGREES\", 0)",
            "ReadNumber(0x7, \"PLANE LONGITUDE\", \"DEGREES\", 0)",
            "ReadNumber(0x7, \"PLANE HEADING DEGREES TRUE\", \"DEGREES\", 0)",
            "Mode(1)",
            "ReadNumber(0x7, \"PLANE ALTITUDE\", \"FEET\", 0)",
            "AircraftName(0x7)",
        },
        fake::CallsOf({"Mode", "ReadNumber", "ReadText", "AircraftName"})));
}

TEST_F(Mode1Snapshot, NamesAreCutTo15CharactersAndZeroFilled) {
    sim.modes = {1};
    sim.aircraft = {Plane(1, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"), Plane(2, "ABCDEFGHIJKLMNOP"),
                    Plane(3, "AB")};
    sim.aircraft[2].atc_id = "garbage-garbage";
    const auto records = List();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(std::memcmp(records[1].name, "ABCDEFGHIJKLMNO\0", 16), 0);
    EXPECT_EQ(std::memcmp(records[2].name, "ABCDEFGHIJKLMNO\0", 16), 0);
    EXPECT_EQ(std::memcmp(records[3].name, "AB\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16), 0);
}

TEST_F(Mode1Snapshot, NullNameGivesAnEmptyName) {
    sim.modes = {1};
    sim.null_names = true;
    sim.aircraft = {Plane(1)};
    const auto records = List();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(std::memcmp(records[1].name, std::string(16, '\0').data(), 16), 0);
}

TEST_F(Mode0Snapshot, HasNoSelfAndLeavesOutAircraftWithoutCombustion) {
    ScriptedAircraft stopped = Plane(2);
    stopped.combustion = 0.0;
    ScriptedAircraft unknown = Plane(3);
    unknown.combustion = std::numeric_limits<double>::quiet_NaN();
    sim.aircraft = {Plane(1), stopped, unknown};
    const auto records = List();
    ASSERT_EQ(Ids(records), (std::vector<uint32_t>{1, 3}));
    EXPECT_TRUE(fake::CallsOf("LookupPanelVariable").empty());

    const MdnTrafficRecord& r = records[0];
    const ScriptedAircraft a = Plane(1);
    EXPECT_EQ(r.mode, 0u);
    EXPECT_EQ(r.latitude, a.latitude);
    EXPECT_EQ(r.longitude, a.longitude);
    EXPECT_EQ(r.heading, a.heading);
    EXPECT_EQ(r.altitude, a.indicated_altitude);
    EXPECT_EQ(r.ground_speed, a.ground_speed);
    EXPECT_EQ(r.vertical_speed, a.vertical_speed);
    EXPECT_EQ(r.combustion, 1.0);
    EXPECT_STREQ(r.name, "N1");
    EXPECT_TRUE(std::isnan(records[1].combustion));
}

TEST_F(Mode0Snapshot, ReadsCombustionWithIndexOneBeforeTheRest) {
    sim.aircraft = {Plane(9)};
    List();
    EXPECT_TRUE(test::SameCalls(
        {
            "Mode(0)",
            "ReadNumber(0x9, \"PLANE LATITUDE\", \"DEGREES\", 0)",
            "ReadNumber(0x9, \"PLANE LONGITUDE\", \"DEGREES\", 0)",
            "ReadNumber(0x9, \"PLANE HEADING DEGREES TRUE\", \"DEGREES\", 0)",
            "Mode(0)",
            "ReadNumber(0x9, \"ENG COMBUSTION\", \"BOOL\", 1)",
            "ReadNumber(0x9, \"INDICATED ALTITUDE\", \"FEET\", 0)",
            "ReadNumber(0x9, \"GROUND VELOCITY\", \"KNOTS\", 0)",
            "ReadNumber(0x9, \"VELOCITY WORLD Y\", \"FEET PER MINUTE\", 0)",
            "ReadText(0x9, \"ATC ID\", 16, 0)",
        },
        fake::CallsOf({"Mode", "ReadNumber", "ReadText", "AircraftName"})));
}

TEST_F(TrafficTest, AFailedReadSkipsOnlyThatAircraft) {
    const std::vector<std::pair<uint32_t, std::vector<std::string>>> cases = {
        {0,
         {"PLANE LATITUDE", "PLANE LONGITUDE", "PLANE HEADING DEGREES TRUE", "ENG COMBUSTION",
          "INDICATED ALTITUDE", "GROUND VELOCITY", "VELOCITY WORLD Y", "ATC ID"}},
        {1, {"PLANE LATITUDE", "PLANE LONGITUDE", "PLANE HEADING DEGREES TRUE", "PLANE ALTITUDE"}},
    };
    for (const auto& [mode, variables] : cases) {
        for (const auto& variable : variables) {
            SCOPED_TRACE("mode " + std::to_string(mode) + ", failing " + variable);
            sim.modes = {mode};
            sim.mode_calls = 0;
            sim.aircraft = {Plane(1), Plane(2), Plane(3)};
            sim.aircraft[1].failing = {variable};
            fake::AdvanceTime(1000);
            const auto records = List();
            const std::vector<uint32_t> expected =
                mode ? std::vector<uint32_t>{0, 1, 3} : std::vector<uint32_t>{1, 3};
            EXPECT_EQ(Ids(records), expected);
        }
    }
}

TEST_F(TrafficTest, ModeChangeWithinASnapshot) {
    // Turned to mode 1 after the snapshot began without SELF: nothing to tell the own
    // aircraft by, so those aircraft are left out.
    sim.modes = {0, 1};
    sim.aircraft = {Plane(1), Plane(2)};
    EXPECT_TRUE(List().empty());

    // Turned to mode 0 after SELF was made: the rest are made as mode-0 records.
    sim.modes = {1, 1, 0};
    sim.mode_calls = 0;
    fake::AdvanceTime(1000);
    const auto records = List();
    ASSERT_EQ(Ids(records), (std::vector<uint32_t>{0, 1, 2}));
    EXPECT_EQ(records[1].mode, 1u);
    EXPECT_EQ(records[2].mode, 0u);
    EXPECT_STREQ(records[2].name, "N2");
}

TEST_F(TrafficCache, AsksTheInterfaceAtMostOncePer250Milliseconds) {
    sim.aircraft = {Plane(1), Plane(2)};
    ASSERT_EQ(List().size(), 2u);
    sim.aircraft.push_back(Plane(3));
    fake::AdvanceTime(100);
    EXPECT_EQ(List().size(), 2u);  // the same records, from the cache
    fake::AdvanceTime(150);        // exactly 250 since the refresh
    EXPECT_EQ(List().size(), 2u);
    EXPECT_EQ(fake::CallsOf("AircraftInRadius").size(), 1u);
    fake::AdvanceTime(1);
    EXPECT_EQ(List().size(), 3u);
    EXPECT_EQ(fake::CallsOf("AircraftInRadius").size(), 2u);
    EXPECT_EQ(traffic::State().last_refresh, 10251u);
}

TEST_F(TrafficCache, RefreshesAcrossTheClockWrap) {
    fake::SetTime(0xFFFFFF00u);
    sim.aircraft = {Plane(1)};
    ASSERT_EQ(List().size(), 1u);
    sim.aircraft.push_back(Plane(2));
    fake::SetTime(0x00000010u);  // 0x110 = 272 ms later
    EXPECT_EQ(List().size(), 2u);
    EXPECT_EQ(fake::CallsOf("AircraftInRadius").size(), 2u);
    fake::SetTime(0x00000100u);  // 240 ms later: still cached
    sim.aircraft.push_back(Plane(3));
    EXPECT_EQ(List().size(), 2u);
}

TEST_F(TrafficBounds, OversizedCountsAreClampedToTheIdArray) {
    for (uint32_t id = 1; id <= 100; ++id)
        sim.aircraft.push_back(Plane(id));
    sim.override_count = true;
    sim.count_answer = 150;
    EXPECT_EQ(List().size(), 100u);
    EXPECT_EQ(traffic::State().aircraft_id_count, 100u);

    sim.count_answer = -5;
    fake::AdvanceTime(1000);
    EXPECT_EQ(List().size(), 0u);
    EXPECT_EQ(traffic::State().aircraft_id_count, 0u);
}

TEST_F(TrafficBounds, SelfAndAFullIdListStopAtTheTableSize) {
    sim.modes = {1};
    for (uint32_t id = 1; id <= 100; ++id)
        sim.aircraft.push_back(Plane(id));
    const auto records = List();
    ASSERT_EQ(records.size(), 100u);
    EXPECT_EQ(records[0].id, 0u);
    EXPECT_EQ(records[99].id, 99u);
    // The hundredth aircraft is not even asked about.
    EXPECT_TRUE(fake::CallsOf("AircraftName").back() == "AircraftName(0x63)");
}

TEST_F(TrafficBounds, NullArrayGetsZero) {
    sim.aircraft = {Plane(1)};
    EXPECT_EQ(traffic::GetTrafficList(nullptr), 0u);
    EXPECT_EQ(List().size(), 1u);
}

// The simulator's main thread runs in single precision (Direct3D 9 leaves it so), in double
// extended precision, or with invalid operation and zero divide unmasked: a gauge's call
// through the table computes the same snapshot and leaves the caller's control word alone.
// At single precision the own altitude would be 3280.83984375 and the own latitude off by
// 2e-6 degrees, so the own aircraft would not be left out.
TEST_F(CallerX87, EveryCallerPrecisionGetsTheSameSnapshotAndItsControlWordBack) {
    sim.modes = {1};
    sim.token71 = 5013220.0;
    sim.token72 = 70368744177664.0 + 123456789.0;
    sim.token829 = 1000.0;
    ScriptedAircraft own = Plane(0x11);
    own.latitude = 45.11108556002699;
    own.longitude = 90.00015789838429;
    sim.aircraft = {own, Plane(0x12)};
    const uint16_t test_word = runtime::X87ControlWord();
    for (const uint16_t caller_word : {0x007F, 0x037F, 0x027A}) {
        fake::AdvanceTime(1000);
        std::vector<MdnTrafficRecord> records(MDN_TRAFFIC_MAX);
        runtime::SetX87ControlWord(caller_word);
        const uint32_t count = MdnSrv.table->GetTrafficList(records.data());
        const uint16_t word_after = runtime::X87ControlWord();
        runtime::SetX87ControlWord(test_word);
        EXPECT_EQ(word_after, caller_word);
        ASSERT_EQ(count, 2u) << std::hex << caller_word;
        EXPECT_EQ(records[0].altitude, 3280.8398950131236) << std::hex << caller_word;
        EXPECT_EQ(records[0].latitude, own.latitude) << std::hex << caller_word;
        EXPECT_EQ(records[0].longitude, own.longitude) << std::hex << caller_word;
        EXPECT_EQ(records[1].id, 0x12u);
    }
}

}  // namespace
