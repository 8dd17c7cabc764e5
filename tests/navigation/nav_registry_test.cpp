#include <cstring>
#include <string>

#include "nav_test_support.h"
#include "navigation/autopilot_source.h"
#include "navigation/gps_info.h"
#include "navigation/nav_registry.h"
#include "navigation/panels_hook.h"
#include "navigation/navigation.h"
#include "support/module_fixture.h"

namespace {

using namespace navigation;
using navtest::device_calls;
using navtest::DeviceCallback;
using navtest::HandleOf;

class NavRegistry : public test::FreshModule {
  protected:
    void SetUp() override {
        FreshModule::SetUp();
        device_calls = {};
    }
    // Devices A, B, C registered in that order, A selected by handle.
    void RegisterThree() {
        a_ = RegisterNavDevice(&DeviceCallback<0>, "Device A", "A");
        b_ = RegisterNavDevice(&DeviceCallback<1>, "Device B", "B");
        c_ = RegisterNavDevice(&DeviceCallback<2>, "Device C", "C");
        ASSERT_EQ(SelectNavDevice(a_, nullptr, nullptr), 1u);
    }
    std::string ActiveLongName() {
        char name[64] = "junk";
        GetActiveNavDevice(name, nullptr);
        return name;
    }
    uint32_t a_ = 0, b_ = 0, c_ = 0;
};

TEST_F(NavRegistry, HandlesAreCallbackComplementsAndClashesAddNothing) {
    const uint32_t a = RegisterNavDevice(&DeviceCallback<0>, "Device A", "A");
    EXPECT_EQ(a, HandleOf(&DeviceCallback<0>));
    EXPECT_EQ(RegisterNavDevice(&DeviceCallback<0>, "Other", "O"), a);
    // A new callback under a name in use gets its own handle, but no record.
    EXPECT_EQ(RegisterNavDevice(&DeviceCallback<1>, "Device A", "B"), HandleOf(&DeviceCallback<1>));
    EXPECT_EQ(RegisterNavDevice(&DeviceCallback<2>, "Device C", "A"), HandleOf(&DeviceCallback<2>));
    EXPECT_EQ(GetNavDeviceCount(), 1u);
    EXPECT_EQ(SelectNavDevice(HandleOf(&DeviceCallback<1>), nullptr, nullptr), 0u);
    EXPECT_EQ(IsNavDeviceActive(HandleOf(&DeviceCallback<1>)), 0u);
    EXPECT_EQ(FindNavDevice(nullptr, "B"), 0u);
    EXPECT_EQ(FindNavDevice("Device A", nullptr), a);
    EXPECT_EQ(FindNavDevice(nullptr, nullptr), 0u);
}

TEST_F(NavRegistry, RejectsMissingNamesAndTheFortyFirstDevice) {
    EXPECT_EQ(RegisterNavDevice(nullptr, "L", "S"), 0u);
    EXPECT_EQ(RegisterNavDevice(&DeviceCallback<0>, nullptr, "S"), 0u);
    EXPECT_EQ(RegisterNavDevice(&DeviceCallback<0>, "L", ""), 0u);
    EXPECT_EQ(GetNavDeviceCount(), 0u);
    // Never called: these devices are never made active.
    for (uintptr_t i = 0; i < 40; ++i) {
        const auto callback = reinterpret_cast<MdnNavDeviceCallback>(0x1000 + i);
        const std::string name = "Device " + std::to_string(i);
        ASSERT_EQ(RegisterNavDevice(callback, name.c_str(), name.c_str()), HandleOf(callback));
    }
    EXPECT_EQ(RegisterNavDevice(&DeviceCallback<0>, "Unique", "U"), 0u);
    EXPECT_EQ(GetNavDeviceCount(), 40u);
}

// Any gauge may read any device's names into the 64-byte buffers the guide tells it to use, so
// a name that would not fit one is refused, and no copy writes past 64 bytes.
TEST_F(NavRegistry, NamesMustFitAGaugesNameBufferAndCopiesStayInside) {
    const std::string longest(MDN_NAME_SIZE - 1, 'N'), too_long(MDN_NAME_SIZE, 'N');
    EXPECT_EQ(RegisterNavDevice(&DeviceCallback<0>, too_long.c_str(), "S"), 0u);
    EXPECT_EQ(RegisterNavDevice(&DeviceCallback<0>, "L", too_long.c_str()), 0u);
    EXPECT_EQ(RegisterNavDevice(&DeviceCallback<0>, (too_long + too_long).c_str(), "S"), 0u);
    EXPECT_EQ(GetNavDeviceCount(), 0u);
    const uint32_t device = RegisterNavDevice(&DeviceCallback<0>, longest.c_str(), longest.c_str());
    ASSERT_EQ(device, HandleOf(&DeviceCallback<0>));
    ASSERT_EQ(SelectNavDevice(device, nullptr, nullptr), 1u);

    struct Guarded {
        char name[MDN_NAME_SIZE];
        char after[16];
    };
    Guarded long_name, short_name;
    const auto check = [&](const char* what) {
        EXPECT_EQ(std::string(long_name.name), longest) << what;
        EXPECT_EQ(std::string(short_name.name), longest) << what;
        EXPECT_EQ(std::string(long_name.after, 16), std::string(16, '#')) << what;
        EXPECT_EQ(std::string(short_name.after, 16), std::string(16, '#')) << what;
    };
    const auto fill = [&] {
        std::memset(&long_name, '#', sizeof long_name);
        std::memset(&short_name, '#', sizeof short_name);
    };
    fill();
    EXPECT_EQ(GetNavDeviceInfo(0, long_name.name, short_name.name), device);
    check("GetNavDeviceInfo");
    fill();
    EXPECT_EQ(GetActiveNavDevice(long_name.name, short_name.name), device);
    check("GetActiveNavDevice");
}

TEST_F(NavRegistry, CycleMovesToTheNextDeviceAndNotifiesItOnce) {
    RegisterThree();
    EXPECT_EQ(device_calls, (std::array<int, 8>{}));  // selected by handle: nobody told
    ASSERT_EQ(CycleNavDevice(), 1u);
    EXPECT_EQ(ActiveLongName(), "Device B");
    EXPECT_EQ(device_calls[1], 1);
    ASSERT_EQ(CycleNavDevice(), 1u);
    EXPECT_EQ(ActiveLongName(), "Device C");
    ASSERT_EQ(CycleNavDevice(), 1u);
    EXPECT_EQ(ActiveLongName(), "Device A");
    EXPECT_EQ(device_calls, (std::array<int, 8>{1, 1, 1}));
    EXPECT_EQ(IsNavDeviceActive(a_), 1u);
    EXPECT_EQ(IsNavDeviceActive(b_) + IsNavDeviceActive(c_), 0u);
}

TEST_F(NavRegistry, SelectingByNameNotifiesAndByHandleDoesNot) {
    RegisterThree();
    EXPECT_EQ(SelectNavDevice(0, "Device A", nullptr), 1u);  // already active: stays, told
    EXPECT_EQ(device_calls[0], 1);
    EXPECT_EQ(SelectNavDevice(a_, nullptr, nullptr), 1u);
    EXPECT_EQ(device_calls[0], 1);
    EXPECT_EQ(SelectNavDevice(0, nullptr, "C"), 1u);
    EXPECT_EQ(device_calls[2], 1);
    EXPECT_EQ(IsNavDeviceActive(a_), 0u);
    EXPECT_EQ(SelectNavDevice(0, nullptr, nullptr), 0u);
    EXPECT_EQ(SelectNavDevice(0, "device c", "c"), 0u);  // names compare case-sensitively
    EXPECT_EQ(ActiveLongName(), "Device C");
    EXPECT_FALSE(SimulatorGpsActive());
}

TEST_F(NavRegistry, UnregisteringTheActiveDeviceHandsActivityToTheFirstAndClearsTheRoute) {
    RegisterThree();
    SelectNavDevice(c_, nullptr, nullptr);
    EXPECT_EQ(UnregisterNavDevice(b_), 1u);  // inactive: nobody told
    EXPECT_EQ(device_calls, (std::array<int, 8>{}));

    MdnGpsInfo& info = *GpsInfoRecord();
    info.distance = 3.0f;
    info.remaining_distance = 9.0f;
    std::memcpy(info.active_ident, "KSEA ", 6);
    info.waypoint_count = 4;
    info.latitude = 47.5;
    EXPECT_EQ(UnregisterNavDevice(c_), 1u);
    EXPECT_EQ(device_calls[0], 1);
    EXPECT_EQ(IsNavDeviceActive(a_), 1u);
    EXPECT_TRUE(SimulatorGpsActive());
    EXPECT_EQ(info.distance, 0.0f);
    EXPECT_EQ(info.remaining_distance, 0.0f);
    EXPECT_EQ(info.inactive, 1u);
    EXPECT_STREQ(info.active_ident, "");
    EXPECT_EQ(info.waypoint_count, 0u);
    EXPECT_EQ(info.latitude, 47.5);  // the position is not part of the route
    EXPECT_EQ(UnregisterNavDevice(c_), 0u);
    EXPECT_EQ(GetNavDeviceCount(), 1u);
}

TEST_F(NavRegistry, UnregisteringTheActiveFirstDeviceLeavesNoneActive) {
    RegisterThree();
    EXPECT_EQ(UnregisterNavDevice(a_), 1u);
    EXPECT_EQ(device_calls[0], 1);  // told about its own reactivation, then removed
    char long_name[32] = "junk", short_name[32] = "junk";
    EXPECT_EQ(GetActiveNavDevice(long_name, short_name), 0u);
    EXPECT_STREQ(long_name, "");
    EXPECT_STREQ(short_name, "");
    EXPECT_EQ(CycleNavDevice(), 0u);
    EXPECT_EQ(GetNavDeviceCount(), 2u);
}

TEST_F(NavRegistry, InfoCopiesNamesAndAnswersEmptyPastTheEnd) {
    RegisterThree();
    char long_name[32], short_name[32];
    EXPECT_EQ(GetNavDeviceInfo(1, long_name, short_name), b_);
    EXPECT_STREQ(long_name, "Device B");
    EXPECT_STREQ(short_name, "B");
    EXPECT_EQ(GetNavDeviceInfo(2, nullptr, short_name), c_);
    EXPECT_STREQ(short_name, "C");
    EXPECT_EQ(GetNavDeviceInfo(3, long_name, short_name), 0u);
    EXPECT_STREQ(long_name, "");
    EXPECT_STREQ(short_name, "");
    EXPECT_EQ(GetNavDeviceInfo(0xFFFFFFFF, nullptr, nullptr), 0u);
    EXPECT_EQ(GetActiveNavDevice(nullptr, short_name), a_);
    EXPECT_STREQ(short_name, "A");
}

TEST_F(NavRegistry, MenuPlacesFollowPositionsAndTheMenuNotifiesTheChosenDeviceOnce) {
    EXPECT_FALSE(SelectNavDeviceByMenuPlace(0));  // nothing marked yet
    RegisterThree();
    EXPECT_FALSE(SelectNavDeviceByMenuPlace(0));
    EXPECT_EQ(MarkNavMenuPlaces(), 3u);
    char text[5];
    bool active = false;
    ASSERT_TRUE(GetNavMenuItem(0, text, sizeof text, &active));
    EXPECT_STREQ(text, "Devi");  // bounded by the caller's buffer
    EXPECT_TRUE(active);
    ASSERT_TRUE(GetNavMenuItem(2, nullptr, 0, &active));
    EXPECT_FALSE(active);
    EXPECT_FALSE(GetNavMenuItem(3, text, sizeof text, &active));

    EXPECT_TRUE(SelectNavDeviceByMenuPlace(1));
    EXPECT_EQ(device_calls, (std::array<int, 8>{0, 1, 0}));
    EXPECT_EQ(IsNavDeviceActive(b_), 1u);
    EXPECT_EQ(IsNavDeviceActive(a_), 0u);
    EXPECT_FALSE(SelectNavDeviceByMenuPlace(1));  // already active: nothing happens
    EXPECT_FALSE(SelectNavDeviceByMenuPlace(3));
    EXPECT_EQ(device_calls[1], 1);
}

}  // namespace
