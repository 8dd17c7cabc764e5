// The "Navigation Device" submenu: added on WM_INITMENU once more than the simulator GPS
// exists, refreshed on every later one, with check marks; its items select devices.
#include <gtest/gtest.h>

#include "host/module_state.h"
#include "navigation/navigation.h"
#include "support/module_fixture.h"

namespace {

int gauge_calls = 0;
void MDN_STDCALL GaugeActivated() {
    ++gauge_calls;
}

class NavDeviceMenu : public test::AttachedModule {
  protected:
    void SetUp() override {
        AttachedModule::SetUp();
        gauge_calls = 0;
        bar_ = fake::AddMenuBar(window_, {"&File", "&Options", "&Views", "&Aircraft", "&Help"});
        fake::ClearCalls();
    }
    void TearDown() override {
        if (gauge_)
            navigation::UnregisterNavDevice(gauge_);
        AttachedModule::TearDown();
    }
    void OpenMenu() {
        CWPSTRUCT sent{0, 0, WM_INITMENU, window_};
        fake::InstalledHook(WH_CALLWNDPROC)(HC_ACTION, 0, reinterpret_cast<LPARAM>(&sent));
    }
    void Choose(WPARAM id) {
        MSG msg{window_, WM_COMMAND, id, 0, 0, {0, 0}};
        fake::InstalledHook(WH_GETMESSAGE)(HC_ACTION, 1, reinterpret_cast<LPARAM>(&msg));
    }
    std::vector<fake::MenuItem> Fourth() {
        return fake::MenuItems(fake::MenuItems(bar_)[3].submenu);
    }
    HMENU bar_ = nullptr;
    uint32_t gauge_ = 0;
};

TEST_F(NavDeviceMenu, AbsentWhileOnlyTheSimulatorGpsExistsAndIsActive) {
    OpenMenu();
    EXPECT_TRUE(Fourth().empty());
}

TEST_F(NavDeviceMenu, AppearsWithTheGpsCheckedOnceAGaugeRegisters) {
    gauge_ = navigation::RegisterNavDevice(&GaugeActivated, "Meridane G1 Navigator", "G1");
    OpenMenu();
    OpenMenu();  // added once
    const auto fourth = Fourth();
    ASSERT_EQ(fourth.size(), 2u);
    EXPECT_EQ(fourth[0].flags, 0x802u);
    EXPECT_EQ(fourth[1].text, "Navigation Device");
    const auto items = fake::MenuItems(fourth[1].submenu);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].text, "Simple Vor Compatibility");
    EXPECT_EQ(items[0].id, 39162u);
    EXPECT_EQ(items[0].flags, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(items[1].flags, 0x802u);
    EXPECT_EQ(items[2].text, "Flight Simulator GPS");
    EXPECT_EQ(items[2].id, 38912u);
    EXPECT_EQ(items[2].flags, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(items[3].text, "Meridane G1 Navigator");
    EXPECT_EQ(items[3].id, 38913u);
    EXPECT_EQ(items[3].flags, 0u);
}

TEST_F(NavDeviceMenu, ChoosingTheActiveDeviceDoesNothingAnotherIsSelectedAndToldOnce) {
    gauge_ = navigation::RegisterNavDevice(&GaugeActivated, "Meridane G1 Navigator", "G1");
    OpenMenu();
    Choose(38912);
    EXPECT_EQ(navigation::IsNavDeviceActive(host::Module().simulator_gps_device), 1u);
    Choose(38913);
    EXPECT_EQ(navigation::IsNavDeviceActive(gauge_), 1u);
    EXPECT_EQ(gauge_calls, 1);
    Choose(38913);
    EXPECT_EQ(gauge_calls, 1);
}

int late_calls = 0;
void MDN_STDCALL LateActivated() {
    ++late_calls;
}

// Places are renumbered on every opening: the items and check marks are refreshed with them,
// so an item always selects the device whose name it shows.
TEST_F(NavDeviceMenu, EachOpeningShowsTheDevicesAndMarksAsTheyAreNow) {
    late_calls = 0;
    const uint32_t navigator = navigation::RegisterNavDevice(&GaugeActivated, "GA Navigator", "N");
    OpenMenu();
    const uint32_t late = navigation::RegisterNavDevice(&LateActivated, "GA Late", "L");
    navigation::UnregisterNavDevice(navigator);
    OpenMenu();
    const auto texts = [&] {
        std::vector<std::string> shown;
        for (const auto& item : fake::MenuItems(Fourth()[1].submenu)) {
            shown.push_back(item.text + " " + std::to_string(item.id) +
                            (item.flags & MF_CHECKED ? " checked" : ""));
        }
        return shown;
    };
    ASSERT_EQ(Fourth().size(), 2u);  // refreshed in place, not added again
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"Simple Vor Compatibility 39162 checked", " 0",
                                        "Flight Simulator GPS 38912 checked", "GA Late 38913"}));
    Choose(38913);
    EXPECT_EQ(navigation::IsNavDeviceActive(late), 1u);
    EXPECT_EQ(late_calls, 1);
    EXPECT_EQ(gauge_calls, 0);

    navigation::SetVorPassThrough(true);
    OpenMenu();
    EXPECT_EQ(texts(),
              (std::vector<std::string>{"Simple Vor Compatibility 39162", " 0",
                                        "Flight Simulator GPS 38912", "GA Late 38913 checked"}));
    // Back to the simulator's GPS alone: the submenu stays, listing only it.
    navigation::UnregisterNavDevice(late);
    OpenMenu();
    EXPECT_EQ(texts(), (std::vector<std::string>{"Simple Vor Compatibility 39162", " 0",
                                                 "Flight Simulator GPS 38912 checked"}));
    EXPECT_EQ(fake::CallsOf("DrawMenuBar").size(), 1u);
}

TEST_F(NavDeviceMenu, VorItemIsUncheckedWhilePassThroughIsOn) {
    navigation::SetVorPassThrough(true);
    gauge_ = navigation::RegisterNavDevice(&GaugeActivated, "G", "g");
    OpenMenu();
    EXPECT_EQ(fake::MenuItems(Fourth()[1].submenu)[0].flags, 0u);
}

TEST_F(NavDeviceMenu, TheLongestDeviceNameIsShownWhole) {
    const std::string long_name(MDN_NAME_SIZE - 1, 'N');
    gauge_ = navigation::RegisterNavDevice(&GaugeActivated, long_name.c_str(), "N");
    OpenMenu();
    const auto items = fake::MenuItems(Fourth()[1].submenu);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[3].text, long_name);
}

}  // namespace
