#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "nav_test_support.h"
#include "navigation/autopilot_source.h"
#include "navigation/gps_info.h"
#include "navigation/nav_registry.h"
#include "navigation/panels_hook.h"
#include "navigation/navigation.h"
#include "service/exports.h"
#include "runtime/import_table.h"
#include "support/module_fixture.h"
#include "runtime/address_word.h"

namespace {

using namespace navigation;
using navtest::DeviceCallback;

// Raw fixed-point values of the simulator's GPS data block.
constexpr double kTwo32 = 4294967296.0;
int64_t RawLatitude(double degrees) {
    return static_cast<int64_t>(degrees / 90.0 * 10001750.0 * kTwo32);
}
int64_t RawLongitude(double degrees) {
    return static_cast<int64_t>(degrees / 360.0 * kTwo32 * kTwo32);
}

// The simulator side: a GPS data block with its waypoint array, published under its name.
struct SimulatorGps {
    alignas(8) uint8_t block[176] = {};
    std::vector<std::array<uint8_t, 64>> waypoints;
    uint8_t* published = nullptr;  // where the block is published, when not `block`
    int lookups = 0;
    // The simulator's thread acting between two lookups: `change` runs when the lookup
    // `change_at` (counted from 1) is asked, before it is answered.
    std::function<void()> change;
    int change_at = 0;

    template <class T>
    void Put(size_t offset, T value) {
        std::memcpy(block + offset, &value, sizeof value);
    }
    void AddWaypoint(const char* ident, double lat, double lon) {
        std::array<uint8_t, 64> entry{};
        const int64_t raw_lat = RawLatitude(lat), raw_lon = RawLongitude(lon);
        std::memcpy(&entry[8], &raw_lat, 8);
        std::memcpy(&entry[16], &raw_lon, 8);
        std::strncpy(reinterpret_cast<char*>(&entry[56]), ident, 7);
        waypoints.push_back(entry);
    }
    // Count, active index and array address as the block states them.
    void Plan(int32_t active) {
        Put<int32_t>(76, active);
        Put<int32_t>(168, static_cast<int32_t>(waypoints.size()));
        Put<uint32_t>(172, runtime::AddressWord(waypoints.data()));
    }
};

SimulatorGps* simulator = nullptr;
void MDN_STDCALL NamedVariable(MdnVariableQuery* record, const char* name) {
    if (++simulator->lookups == simulator->change_at && simulator->change)
        simulator->change();
    const uint8_t* block = simulator->published ? simulator->published : simulator->block;
    if (std::strcmp(name, "FS2002 GPS DATA") == 0 && block[0] != 0) {
        record->reserved4[0] = runtime::AddressWord(block);
    }
}

class GpsInfoManager : public test::FreshModule {
  protected:
    void SetUp() override {
        FreshModule::SetUp();
        simulator = &gps_;
        table_[runtime::kPanelsNamedVariable] = reinterpret_cast<void*>(&NamedVariable);
        ImportTable[0].table = table_;
        gps_device_ = RegisterNavDevice(&DeviceCallback<0>, "Flight Simulator GPS", "GPS");
        SelectNavDevice(gps_device_, nullptr, nullptr);
        AddGpsInfoUser();
        gps_.Put<uint32_t>(0, 176);
        gps_.Put<uint32_t>(68, 1);
    }
    void TearDown() override {
        simulator = nullptr;
        FreshModule::TearDown();
    }
    // n waypoints WP0, WP1, ... along the equator, a tenth of a degree apart.
    void PlanAlongEquator(int n, int32_t active) {
        for (int i = 0; i < n; ++i) {
            const size_t k = gps_.waypoints.size();
            gps_.AddWaypoint(("WP" + std::to_string(k)).c_str(), 0.0, 0.1 * k);
        }
        gps_.Plan(active);
    }
    std::vector<uint32_t> ListedFlags() const {
        std::vector<uint32_t> flags;
        for (uint32_t i = 0; i < info_.waypoint_count; ++i)
            flags.push_back(info_.waypoints[i].flags);
        return flags;
    }
    SimulatorGps gps_;
    void* table_[80] = {};
    uint32_t gps_device_ = 0;
    const MdnGpsInfo& info_ = *GpsInfoRecord();
};

TEST_F(GpsInfoManager, ConvertsTheBlockIntoDegreesFeetKnotsAndNauticalMiles) {
    gps_.Put<int64_t>(8, (int64_t{1} << 52) + 0xFFFF);           // the low 16 bits carry nothing
    gps_.Put<int64_t>(16, int64_t{1} << 62);                     // a quarter turn east
    gps_.Put<int64_t>(24, static_cast<int64_t>(1000 * kTwo32));  // 1000 m
    gps_.Put<double>(32, 0.1);                                   // variation, radians
    gps_.Put<double>(40, 100.0);                                 // m/s
    gps_.Put<double>(56, 1.0);                                   // track, radians
    gps_.Put<uint32_t>(68, 0);                                   // no state
    gps_.Put<double>(128, 3704.0);                               // m
    gps_.Put<double>(144, 1852.0);
    gps_.Put<double>(152, 3.0);
    GpsInfoPass();
    EXPECT_NEAR(info_.latitude, 9.435532781763191, 1e-12);  // 2^20 * 90 / 10001750
    EXPECT_NEAR(info_.longitude, -90.0, 1e-12);
    EXPECT_FLOAT_EQ(info_.altitude, 3280.84f);
    EXPECT_FLOAT_EQ(info_.track, 63.025357f);  // 1.1 rad
    EXPECT_FLOAT_EQ(info_.ground_speed, 194.3844f);
    EXPECT_FLOAT_EQ(info_.desired_track, 171.88734f);
    EXPECT_FLOAT_EQ(info_.cross_track, -1.0f);
    EXPECT_FLOAT_EQ(info_.distance, 2.0f);
    EXPECT_FLOAT_EQ(info_.variation, -5.729578f);
    EXPECT_EQ(info_.inactive, 1u);
    // No flight plan: the route is the leg to the active waypoint.
    EXPECT_FLOAT_EQ(info_.remaining_distance, 2.0f);
    EXPECT_STREQ(info_.active_ident, "WPT  ");
    EXPECT_EQ(info_.bearing, 0.0f);
    EXPECT_EQ(info_.waypoint_count, 0u);

    gps_.Put<int64_t>(16, -(int64_t{1} << 62));
    gps_.Put<double>(56, -0.5);  // -0.4 rad with the variation
    gps_.Put<uint32_t>(68, 5);
    GpsInfoPass();
    EXPECT_NEAR(info_.longitude, 90.0, 1e-12);
    EXPECT_FLOAT_EQ(info_.track, 337.08169f);
    EXPECT_EQ(info_.inactive, 0u);
}

TEST_F(GpsInfoManager, BearingAndRemainingDistanceFollowTheRestOfThePlan) {
    // At (0, 2E), EAST at (0, 1E) lies due west: 270; the rest is 60 nm west along the
    // equator, then 60 nm north to NORTH, one nautical mile per minute of arc: 120.
    gps_.Put<int64_t>(16, RawLongitude(2.0));
    gps_.AddWaypoint("ORIG", 0.0, -1.0);
    gps_.AddWaypoint("EAST", 0.0, 1.0);
    gps_.AddWaypoint("NORTH", 1.0, 1.0);
    gps_.Plan(1);
    GpsInfoPass();
    EXPECT_NEAR(info_.bearing, 270.0f, 1e-3);
    EXPECT_NEAR(info_.remaining_distance, 120.0f, 1e-3);
    EXPECT_STREQ(info_.active_ident, "EAST ");
    ASSERT_EQ(info_.waypoint_count, 3u);
    EXPECT_NEAR(info_.waypoints[1].longitude, -1.0, 1e-9);  // sign inverted, as the record's
    EXPECT_NEAR(info_.waypoints[2].latitude, 1.0, 1e-9);

    // At (1N, 2E) to NORTH at (1N, 1E), one degree west along the parallel:
    //   bearing atan2(sin(-1) cos 1, cos 1 sin 1 - sin 1 cos 1 cos 1)
    //         = atan2(-0.0174497, 2.6576e-6) = 270.00873, plus the variation 0.5;
    //   distance 2R asin(cos 1 sin 0.5), 2R = 6875.4935 nm: 6875.4935 x 0.00872521 = 59.99086.
    gps_.Put<int64_t>(8, RawLatitude(1.0));
    gps_.Put<double>(32, -0.5 / 57.29577951308232);  // record variation +0.5 degrees
    gps_.Plan(2);
    GpsInfoPass();
    EXPECT_NEAR(info_.bearing, 270.50873f, 1e-3);
    EXPECT_NEAR(info_.remaining_distance, 59.99086f, 1e-3);
    EXPECT_FLOAT_EQ(info_.waypoints[0].variation, 0.5f);
}

TEST_F(GpsInfoManager, ListsUpToThirtyOneWaypointsFromTheOneBeforeTheActive) {
    PlanAlongEquator(5, 0);
    GpsInfoPass();
    EXPECT_EQ(ListedFlags(), (std::vector<uint32_t>{0x20, 0, 0, 0, 0x40}));
    EXPECT_EQ(info_.waypoints[4].number, 5u);
    EXPECT_STREQ(info_.waypoints[4].ident, "WP4  ");

    PlanAlongEquator(45, 3);  // 50 in all
    GpsInfoPass();
    ASSERT_EQ(info_.waypoint_count, 31u);
    EXPECT_STREQ(info_.waypoints[0].ident, "WP2  ");
    EXPECT_STREQ(info_.waypoints[30].ident, "WP32 ");
    EXPECT_EQ(info_.waypoints[1].flags, 0x20u);
    const std::vector<uint32_t> flags = ListedFlags();
    EXPECT_EQ(std::count(flags.begin(), flags.end(), 0u), 30);

    gps_.Plan(49);
    GpsInfoPass();
    EXPECT_EQ(ListedFlags(), (std::vector<uint32_t>{0, 0x60}));
    EXPECT_EQ(info_.waypoints[1].number, 2u);
}

TEST_F(GpsInfoManager, IdentifiersAreFiveCharactersBlankPadded) {
    gps_.AddWaypoint("ABCDEFG", 0.0, 0.0);
    gps_.AddWaypoint("AB", 0.0, 1.0);
    gps_.AddWaypoint("", 0.0, 2.0);
    gps_.Plan(1);
    GpsInfoPass();
    EXPECT_EQ(std::string(info_.waypoints[0].ident, 6), std::string("ABCDE\0", 6));
    EXPECT_EQ(std::string(info_.active_ident, 6), std::string("AB   \0", 6));
    EXPECT_STREQ(info_.waypoints[2].ident, "     ");
}

// Active indices and counts that name no waypoint read nothing outside the array (the
// sanitizer build watches the exact-size array) and leave a route-less record.
TEST_F(GpsInfoManager, ActiveIndexOutsideThePlanGivesNoActiveWaypoint) {
    PlanAlongEquator(5, -2);
    GpsInfoPass();
    EXPECT_EQ(ListedFlags(), (std::vector<uint32_t>{0, 0, 0, 0, 0x40}));
    EXPECT_STREQ(info_.active_ident, "WPT  ");
    EXPECT_EQ(info_.bearing, 0.0f);
    EXPECT_EQ(info_.remaining_distance, 0.0f);

    gps_.Plan(5);  // one past the last: the last is listed, nothing is active
    GpsInfoPass();
    EXPECT_EQ(ListedFlags(), (std::vector<uint32_t>{0x40}));
    EXPECT_EQ(info_.remaining_distance, 0.0f);
    gps_.Plan(0x7FFFFFFF);
    GpsInfoPass();
    EXPECT_EQ(info_.waypoint_count, 0u);
    EXPECT_STREQ(info_.active_ident, "WPT  ");
}

TEST_F(GpsInfoManager, EmptyOrNegativeWaypointCountsListNothing) {
    gps_.AddWaypoint("ONLY", 0.0, 0.0);
    for (int32_t count : {0, -1, -0x7FFFFFFF - 1}) {
        gps_.Plan(0);
        gps_.Put<int32_t>(168, count);
        GpsInfoPass();
        EXPECT_EQ(info_.waypoint_count, 0u) << count;
        EXPECT_EQ(info_.remaining_distance, 0.0f) << count;
        EXPECT_STREQ(info_.active_ident, "WPT  ") << count;
    }
}

TEST_F(GpsInfoManager, SkippedPassesLeaveTheRecordAsItWas) {
    gps_.Put<double>(40, 10.0);
    RemoveGpsInfoUser();
    RemoveGpsInfoUser();  // stays at 0
    EXPECT_EQ(GpsInfoUserCount(), 0);
    GpsInfoPass();
    EXPECT_EQ(info_.ground_speed, 0.0f);

    AddGpsInfoUser();
    GpsInfoPass();
    EXPECT_FLOAT_EQ(info_.ground_speed, 19.43844f);

    // A gauge in charge: the record keeps the last values read from the simulator GPS.
    const uint32_t gauge = RegisterNavDevice(&DeviceCallback<1>, "Gauge", "G");
    SelectNavDevice(gauge, nullptr, nullptr);
    gps_.Put<double>(40, 20.0);
    GpsInfoPass();
    EXPECT_FLOAT_EQ(info_.ground_speed, 19.43844f);

    SelectNavDevice(gps_device_, nullptr, nullptr);
    gps_.Put<uint32_t>(0, 175);  // too small a block
    GpsInfoPass();
    EXPECT_FLOAT_EQ(info_.ground_speed, 19.43844f);
}

TEST_F(GpsInfoManager, AsksForTheBlockOnlyOnPassesThatRefreshTheRecord) {
    gps_.Put<double>(40, 10.0);
    ImportTable[0].table = nullptr;
    GpsInfoPass();  // no panels table yet
    ImportTable[0].table = table_;
    gps_.block[0] = 0;  // not published yet
    GpsInfoPass();
    EXPECT_EQ(info_.ground_speed, 0.0f);
    gps_.Put<uint32_t>(0, 176);
    GpsInfoPass();
    EXPECT_FLOAT_EQ(info_.ground_speed, 19.43844f);

    RemoveGpsInfoUser();  // nobody uses the record: the simulator is not asked
    const int lookups = gps_.lookups;
    GpsInfoPass();
    EXPECT_EQ(gps_.lookups, lookups);
}

// The simulator moves its block and hands the old range to another allocation, which here
// passes every check (readable, a size word above 176, no plan): the record follows the block
// the simulator names now. A move or a new plan while the worker copies skips that pass.
TEST_F(GpsInfoManager, FollowsTheBlockTheSimulatorNamesNotAnAddressItHeld) {
    alignas(8) uint8_t first[176], second[176];
    PlanAlongEquator(3, 1);
    gps_.Put<double>(40, 10.0);
    std::memcpy(first, gps_.block, sizeof first);
    gps_.published = first;
    GpsInfoPass();
    EXPECT_FLOAT_EQ(info_.ground_speed, 19.43844f);

    gps_.Put<double>(40, 20.0);
    gps_.published = nullptr;  // moved to `block`
    std::memset(first, 0, sizeof first);
    first[1] = 1;  // another allocation's first word: 256
    GpsInfoPass();
    EXPECT_FLOAT_EQ(info_.ground_speed, 38.87688f);
    EXPECT_EQ(info_.waypoint_count, 3u);
    EXPECT_STREQ(info_.active_ident, "WP1  ");

    gps_.Put<double>(40, 30.0);
    std::memcpy(second, gps_.block, sizeof second);
    const double forty = 40.0;
    std::memcpy(second + 40, &forty, sizeof forty);
    gps_.change = [&] { gps_.published = second; };
    gps_.change_at = gps_.lookups + 2;  // after the pass has copied the block
    GpsInfoPass();
    EXPECT_FLOAT_EQ(info_.ground_speed, 38.87688f);  // the pass was skipped
    GpsInfoPass();
    EXPECT_FLOAT_EQ(info_.ground_speed, 77.75376f);

    gps_.published = nullptr;
    gps_.change = [&] { gps_.Put<int32_t>(168, 2); };  // a plan of two
    gps_.change_at = gps_.lookups + 2;
    GpsInfoPass();
    EXPECT_EQ(info_.waypoint_count, 3u);  // skipped
    GpsInfoPass();
    EXPECT_EQ(info_.waypoint_count, 2u);
}

// The simulator's thread frees and reallocates the block and its plan under the worker: what
// cannot be read is not read (here it would fault), the block is looked up again, and a
// count beyond any array is capped and checked like any other.
TEST_F(GpsInfoManager, WhatCannotBeReadIsLookedUpAgainNotRead) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    auto* pages = static_cast<uint8_t*>(
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(mprotect(pages + page, page, PROT_NONE), 0);  // what follows the plan
    PlanAlongEquator(3, 1);
    uint8_t* plan = pages + page - 3 * 64;
    std::memcpy(plan, gps_.waypoints.data(), 3 * 64);
    gps_.Put<uint32_t>(172, runtime::AddressWord(plan));
    gps_.Put<double>(40, 10.0);
    std::memcpy(pages, gps_.block, sizeof gps_.block);
    gps_.published = pages;
    GpsInfoPass();
    EXPECT_EQ(info_.waypoint_count, 3u);
    EXPECT_STREQ(info_.waypoints[2].ident, "WP2  ");

    for (int32_t count : {4, 0x7FFFFFFF}) {  // past the array's end, into what cannot be read
        std::memcpy(pages + 168, &count, sizeof count);
        const int lookups = gps_.lookups;
        GpsInfoPass();
        EXPECT_EQ(gps_.lookups, lookups + 1) << count;
        EXPECT_EQ(info_.waypoint_count, 3u) << count;
    }

    // The block moves, and its old place (with the plan) can no longer be read.
    gps_.Put<double>(40, 20.0);
    gps_.Plan(1);
    gps_.published = nullptr;
    ASSERT_EQ(mprotect(pages, page, PROT_NONE), 0);
    GpsInfoPass();
    EXPECT_FLOAT_EQ(info_.ground_speed, 38.87688f);
    munmap(pages, 2 * page);
}

}  // namespace
