// The GPS information manager: once a second, while a gauge uses GPS information and the
// simulator's own GPS is the active device, converts the simulator's "FS2002 GPS DATA" block
// into the GPS information record (degrees, feet, knots, nautical miles) with a waypoint
// list and the remaining route distance.
#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstring>

#include "navigation/gps_info.h"
#include "navigation/nav_registry.h"
#include "navigation/navigation.h"
#include "platform/kernel.h"
#include "runtime/address_checks.h"
#include "runtime/import_table.h"

namespace navigation {
namespace {

using runtime::GpsDataBlock;
using runtime::GpsWaypointEntry;

// The most waypoints read from a plan, whatever count the block states: 64 KiB.
constexpr int32_t kMaxWaypoints = 1024;
constexpr char kNoWaypoint[] = "WPT  ";

constexpr double kLatitudeDegrees = 2.0951091487837895e-15;  // 90 / (10001750 * 2^32)
constexpr double kLongitudeUnit = 2.3283064365386963e-10;    // 2^-32
constexpr double kLongitudeDegrees = 8.381903171539307e-08;  // 360 / 2^32
constexpr double kAltitudeFeet = 7.638800644811996e-10;      // feet per metre / 2^32
constexpr double kKnots = 1.943844;
constexpr double kNauticalMiles = 0.0005399568034557236;
constexpr double kDegrees = 57.29577951308232;
constexpr double kRadians = 0.017453292519943295;
constexpr double kLatitudeRadians = 3.656655283481889e-17;
constexpr double kLongitudeRadians = 1.4629180792671596e-09;  // 2 pi / 2^32
// Twice the earth radius in nautical miles, one nautical mile per minute of arc.
constexpr double kTwiceEarthRadius = 6875.493541569995;

MdnGpsInfo gps_info;
// The worker's copy of the plan, taken at once after its check: the simulator's thread
// reallocates the array when the plan changes.
GpsWaypointEntry plan[kMaxWaypoints];
std::atomic<int32_t> users{0};

double Raw(int64_t value) {
    return static_cast<double>(value & ~int64_t{0xFFFF});
}

double LatitudeDegrees(int64_t raw) {
    return Raw(raw) * kLatitudeDegrees;
}
// Sign inverted: east is negative in the record.
double LongitudeDegrees(int64_t raw) {
    return Raw(raw) * -kLongitudeUnit * kLongitudeDegrees;
}

// Into 0 to 360. The remainder of a value below -7200 is still negative: one more turn.
double Reduce(double degrees) {
    const double r = std::fmod(degrees + 7200.0, 360.0);
    return r < 0.0 ? r + 360.0 : r;
}

// At most five characters, blank-padded to five, then a terminating zero.
void CopyIdent(char (&out)[6], const char (&source)[8]) {
    size_t n = 0;
    while (n < 5 && source[n] != '\0') {
        out[n] = source[n];
        ++n;
    }
    while (n < 5)
        out[n++] = ' ';
    out[5] = '\0';
}

void SetNoActiveWaypoint() {
    std::memcpy(gps_info.active_ident, kNoWaypoint, sizeof kNoWaypoint);
    gps_info.bearing = 0.0f;
}

// Great-circle distance in nautical miles between two points given in radians.
double Distance(double lat1, double lon1, double lat2, double lon2) {
    const double dlat = std::sin((lat1 - lat2) / 2);
    const double dlon = std::sin((lon1 - lon2) / 2);
    const double h = dlat * dlat + std::cos(lat1) * std::cos(lat2) * dlon * dlon;
    // Rounding can lift h just above 1 for nearly antipodal points.
    return kTwiceEarthRadius * std::asin(std::sqrt(std::min(h, 1.0)));
}

// Copies `size` bytes of the simulator's memory when all of them are readable. The copy
// itself cannot fault either, should the simulator free the memory right after the check.
bool CopyChecked(uintptr_t address, size_t size, void* out) {
    const void* from = reinterpret_cast<const void*>(address);
    SIZE_T copied = 0;
    if (size == 0)
        return true;
    return runtime::IsReadable(from, size) &&
           platform::ReadProcessMemory(platform::GetCurrentProcess(), from, out, size, &copied) &&
           copied == size;
}

// Initial great-circle bearing from the present position (record values, degrees, sign
// inverted longitude) to the waypoint, in degrees plus the record's variation.
float Bearing(double latitude, double longitude, const GpsWaypointEntry& waypoint) {
    const double lat1 = latitude * kRadians;
    const double lon1 = longitude * kRadians;
    const double lat2 = Raw(waypoint.latitude) * kLatitudeRadians;
    const double lon2 = Raw(waypoint.longitude) * -kLongitudeUnit * kLongitudeRadians;
    const double b = std::atan2(
        std::sin(lon1 - lon2) * std::cos(lat2),
        std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(lon1 - lon2));
    return static_cast<float>(Reduce(b * kDegrees + gps_info.variation));
}

// The list shows up to 31 waypoints starting one before the active one. An active index
// outside the plan names no waypoint: no entry is marked active and the active identifier
// and bearing read as "no waypoint"; a negative one lists the plan from its start.
void FillWaypointList(const GpsDataBlock& block, int32_t n, double latitude, double longitude) {
    const int64_t a = block.active_index;
    const bool active_in_plan = a >= 0 && a < n;
    const int64_t first = a > 0 ? a - 1 : 0;
    const int64_t end = std::min<int64_t>(first + MDN_GPS_WAYPOINTS, n);
    if (!active_in_plan)
        SetNoActiveWaypoint();
    for (int64_t i = first; i < end; ++i) {
        const GpsWaypointEntry& source = plan[i];
        MdnGpsWaypoint& entry = gps_info.waypoints[i - first];
        entry.number = static_cast<uint32_t>(i - first + 1);
        entry.flags = (i == a ? MDN_WAYPOINT_ACTIVE : 0u) | (i == n - 1 ? MDN_WAYPOINT_LAST : 0u);
        CopyIdent(entry.ident, source.ident);
        entry.latitude = LatitudeDegrees(source.latitude);
        entry.longitude = LongitudeDegrees(source.longitude);
        entry.variation = gps_info.variation;
        if (i == a) {
            CopyIdent(gps_info.active_ident, source.ident);
            gps_info.bearing = Bearing(latitude, longitude, source);
        }
    }
    gps_info.waypoint_count = first < end ? static_cast<uint32_t>(end - first) : 0;
}

// From the present position through every waypoint from the active one to the last.
float RemainingDistance(const GpsDataBlock& block, int32_t n) {
    const int64_t a = block.active_index;
    if (a < 0 || a > n - 1)
        return 0.0f;
    double lat = Raw(block.latitude) * kLatitudeRadians;
    double lon = Raw(block.longitude) * kLongitudeUnit * kLongitudeRadians;
    double sum = 0.0;
    for (int64_t i = a; i < n; ++i) {
        const GpsWaypointEntry& w = plan[i];
        const double wlat = Raw(w.latitude) * kLatitudeRadians;
        const double wlon = Raw(w.longitude) * kLongitudeUnit * kLongitudeRadians;
        sum += Distance(lat, lon, wlat, wlon);
        lat = wlat;
        lon = wlon;
    }
    return static_cast<float>(sum);
}

// Where the simulator publishes the block now, 0 when it does not. Asked on every pass, never
// kept: the simulator moves the block and frees its old pages, and the next allocation may
// take that range, so an address kept from an earlier pass can hold anything that passes the
// readability and size checks.
uintptr_t LookUpBlock() {
    auto named = runtime::PanelsEntry<runtime::NamedVariableFn>(runtime::kPanelsNamedVariable);
    if (named == nullptr)
        return 0;
    MdnVariableQuery record{};
    named(&record, runtime::kGpsDataName);
    return record.reserved4[0];
}

// The block and its plan (capped at kMaxWaypoints) copied from `address` into `block` and
// `plan`, with the number of waypoints copied; false when the block or the plan is not
// readable as stated or the block is too small.
bool ReadBlock(uintptr_t address, GpsDataBlock* block, int32_t* waypoints) {
    if (!CopyChecked(address, sizeof *block, block) || block->size < sizeof *block)
        return false;
    *waypoints = block->waypoints == 0 ? 0 : std::clamp(block->waypoint_count, 0, kMaxWaypoints);
    return CopyChecked(block->waypoints, static_cast<size_t>(*waypoints) * sizeof plan[0], plan);
}

// The simulator's thread may move the block or replan while the worker copies: the copy is
// used only when the block is still published where it was read and still names the plan
// that was copied. Anything else skips the pass, and the next one reads the new block.
bool StillTheBlock(uintptr_t address, const GpsDataBlock& copied) {
    GpsDataBlock now;
    return LookUpBlock() == address && CopyChecked(address, sizeof now, &now) &&
           now.waypoints == copied.waypoints && now.waypoint_count == copied.waypoint_count;
}

}  // namespace

void LoadGpsInfo() {
    gps_info = MdnGpsInfo{};
    users = 0;
}

MdnGpsInfo* GpsInfoRecord() {
    return &gps_info;
}

int32_t GpsInfoUserCount() {
    return users.load(std::memory_order_relaxed);
}

void AddGpsInfoUser() {
    const int32_t n = users.load(std::memory_order_relaxed);
    if (n < INT32_MAX)
        users.store(n + 1, std::memory_order_relaxed);
}

void RemoveGpsInfoUser() {
    const int32_t n = users.load(std::memory_order_relaxed);
    users.store(n > 0 ? n - 1 : 0, std::memory_order_relaxed);
}

void ResetGpsRoute() {
    gps_info.distance = 0.0f;
    gps_info.remaining_distance = 0.0f;
    gps_info.inactive = 1;
    std::memset(gps_info.active_ident, 0, sizeof gps_info.active_ident);
    gps_info.waypoint_count = 0;
}

void GpsInfoPass() {
    if (GpsInfoUserCount() <= 0 || !SimulatorGpsActive())
        return;
    const uintptr_t address = LookUpBlock();
    GpsDataBlock block;
    int32_t n = 0;
    if (address == 0 || !ReadBlock(address, &block, &n) || !StillTheBlock(address, block))
        return;
    const double latitude = LatitudeDegrees(block.latitude);
    const double longitude = LongitudeDegrees(block.longitude);
    gps_info.latitude = latitude;
    gps_info.longitude = longitude;
    gps_info.altitude = static_cast<float>(Raw(block.altitude) * kAltitudeFeet);
    gps_info.track = static_cast<float>(Reduce((block.track + block.variation) * kDegrees));
    gps_info.ground_speed = static_cast<float>(block.ground_speed * kKnots);
    gps_info.desired_track = static_cast<float>(Reduce(block.desired_track * kDegrees));
    gps_info.cross_track = static_cast<float>(block.cross_track * -kNauticalMiles);
    gps_info.distance = static_cast<float>(block.distance * kNauticalMiles);
    gps_info.variation = static_cast<float>(block.variation * -kDegrees);
    gps_info.inactive = block.state == 0 ? 1 : 0;

    if (block.waypoints == 0) {
        gps_info.remaining_distance = gps_info.distance;
        SetNoActiveWaypoint();
        gps_info.waypoint_count = 0;
        return;
    }
    FillWaypointList(block, n, latitude, longitude);
    gps_info.remaining_distance = RemainingDistance(block, n);
}

}  // namespace navigation

void MDNFSGpsInfoMgr::Pass() {
    navigation::GpsInfoPass();
}
