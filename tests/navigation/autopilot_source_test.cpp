#include <atomic>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>

#include "nav_test_support.h"
#include "navigation/autopilot_source.h"
#include "navigation/gps_info.h"
#include "navigation/nav_registry.h"
#include "navigation/panels_hook.h"
#include "navigation/navigation.h"
#include "support/module_fixture.h"
#include "runtime/address_word.h"

namespace {

using namespace navigation;
using navtest::DeviceCallback;

// The simulator's flight-model object and flight.dll's Linkage record, word 23 returning it.
alignas(8) uint8_t flight_model[280];
int flight_model_lookups = 0;
void* MDN_STDCALL FlightModel() {
    ++flight_model_lookups;
    return flight_model;
}

// Runs one pass after clearing the fields the pass writes; true when it wrote them.
bool PassWrites(double expected) {
    const uint32_t other_flags = 0x3;
    std::memcpy(flight_model + 4, &other_flags, 4);
    const double untouched = NAN;
    std::memcpy(flight_model + 268, &untouched, 8);
    AutopilotSourcePass();
    uint32_t flags = 0;
    double value = 0;
    std::memcpy(&flags, flight_model + 4, 4);
    std::memcpy(&value, flight_model + 268, 8);
    if (std::isnan(value))
        return false;
    EXPECT_EQ(flags, 0x13u);
    EXPECT_EQ(value, expected);
    return true;
}

// Passes every 125 ms of fake time until one does not write: the number that did.
int WritesUntilStopped(double expected) {
    int writes = 0;
    while (writes < 1000 && PassWrites(expected)) {
        ++writes;
        fake::AdvanceTime(125);
    }
    return writes;
}

// Attached in the simulator: the simulator GPS device registered first and active, with
// flight.dll loaded.
class AutopilotSource : public test::AttachedModule {
  protected:
    void SetUp() override {
        AttachedModule::SetUp();
        flight_model_lookups = 0;
        linkage_[23] = runtime::AddressWord(&FlightModel);
        fake::AddExport(fake::AddModule("flight.dll"), "Linkage", linkage_);
        gauge_ = RegisterNavDevice(&DeviceCallback<1>, "Meridane GPS", "MDN");
        fake::SetTime(100000);
    }
    uint32_t linkage_[32] = {};
    uint32_t gauge_ = 0;
};

TEST_F(AutopilotSource, NothingIsWrittenWithoutAFeed) {
    fake::SetTime(0);  // even in the clock's first three seconds, 0 is "no feed"
    EXPECT_EQ(WritesUntilStopped(0.0), 0);
    fake::SetTime(5000);
    EXPECT_EQ(WritesUntilStopped(0.0), 0);
    EXPECT_EQ(flight_model_lookups, 0);
    for (const std::string& call : fake::CallsOf("GetModuleHandleA")) {
        EXPECT_EQ(call.find("flight.dll"), std::string::npos) << call;
    }
}

TEST_F(AutopilotSource, OneRequestIsWrittenForThreeSecondsThenStops) {
    CycleNavDevice();  // the gauge is in charge
    PostAutopilotData(2.5);
    EXPECT_EQ(AutopilotDataTime(), 100000u);
    EXPECT_EQ(WritesUntilStopped(2.5), 24);
    EXPECT_EQ(flight_model_lookups, 1);  // found once, then kept
    EXPECT_EQ(FlightModelObject(), reinterpret_cast<uintptr_t>(flight_model));

    PostAutopilotData(-1.25);  // a later value is picked up at once
    EXPECT_EQ(WritesUntilStopped(-1.25), 24);
    EXPECT_EQ(flight_model_lookups, 1);
}

TEST_F(AutopilotSource, TheClockWrapDoesNotEndTheFeed) {
    fake::SetTime(0xFFFFFF00u);
    PostAutopilotData(1.0);
    fake::AdvanceTime(0x200);
    EXPECT_TRUE(PassWrites(1.0));
    fake::AdvanceTime(3000);
    EXPECT_FALSE(PassWrites(1.0));
}

TEST_F(AutopilotSource, AFlightModelThatAppearsLateIsFedWithinTheWindow) {
    fake::RemoveModule("flight.dll");
    PostAutopilotData(4.0);
    EXPECT_FALSE(PassWrites(4.0));
    fake::AdvanceTime(125);
    EXPECT_FALSE(PassWrites(4.0));
    fake::AddExport(fake::AddModule("flight.dll"), "Linkage", linkage_);
    fake::AdvanceTime(125);
    EXPECT_EQ(WritesUntilStopped(4.0), 22);
}

TEST_F(AutopilotSource, TheSimulatorGpsCallbackStopsTheFeedButSelectionByHandleDoesNot) {
    CycleNavDevice();
    PostAutopilotData(3.0);
    EXPECT_TRUE(PassWrites(3.0));
    CycleNavDevice();  // back to the simulator GPS, whose callback runs
    EXPECT_TRUE(SimulatorGpsActive());
    EXPECT_FALSE(PassWrites(3.0));

    SelectNavDevice(0, nullptr, "MDN");
    PostAutopilotData(3.0);
    fake::AdvanceTime(1000);
    SelectNavDevice(GetNavDeviceInfo(0, nullptr, nullptr), nullptr, nullptr);
    EXPECT_TRUE(SimulatorGpsActive());
    EXPECT_EQ(WritesUntilStopped(3.0), 16);  // ages out 3000 ms after the post

    SelectNavDevice(0, nullptr, "MDN");
    PostAutopilotData(3.0);
    MarkNavMenuPlaces();
    EXPECT_TRUE(SelectNavDeviceByMenuPlace(0));  // the menu tells the simulator GPS
    EXPECT_FALSE(PassWrites(3.0));
}

TEST_F(AutopilotSource, StartUpClearsTheFeedAndTheFlightModelObject) {
    PostAutopilotData(3.0);
    EXPECT_TRUE(PassWrites(3.0));
    SetVorPassThrough(true);
    SetSimulatorGlobalRecord(0x1234);
    ClearSharedValues();
    EXPECT_EQ(AutopilotDataTime(), 0u);
    EXPECT_EQ(FlightModelObject(), 0u);
    EXPECT_FALSE(VorPassThrough());
    EXPECT_EQ(SimulatorGlobalRecord(), 0u);
}

// The simulator's own thread changes other bits of the flag word meanwhile: the pass sets its
// bit with one locked operation, so none of those changes is lost.
TEST_F(AutopilotSource, SettingTheFlagBitLosesNoChangeOfTheSimulatorsThread) {
    CycleNavDevice();
    PostAutopilotData(2.5);
    auto* flags = reinterpret_cast<uint32_t*>(flight_model + 4);
    *flags = 0;
    constexpr uint32_t kChanges = 2000000;
    std::atomic<bool> running{true};
    std::thread simulator([&] {
        for (uint32_t i = 0; i < kChanges; ++i)
            __atomic_fetch_add(flags, 0x100, __ATOMIC_SEQ_CST);
        running = false;
    });
    do
        AutopilotSourcePass();
    while (running);
    simulator.join();
    EXPECT_EQ(*flags, kChanges * 0x100 | 0x10);
}

}  // namespace
