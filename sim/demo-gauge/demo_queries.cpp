// Queries and controls by number: names of the active device, the VOR flag, the GPS
// information record, aircraft paths, simulator internals, the global record, the version,
// and the module's information box with a text of the gauge's own.
#include <cstdio>

#include "demo.h"

namespace demo {
namespace {

void Word(const Context& c, int32_t id, const char* what) {
    uint32_t value = 0;
    const uint32_t ok = c.ops->ServiceQuery(id, &value);
    Report(c, "queries: %d %s -> %lu, 0x%08lX", id, what, static_cast<unsigned long>(ok),
           static_cast<unsigned long>(value));
}

void Text(const Context& c, int32_t id, const char* what) {
    uint32_t address = 0;
    const uint32_t ok = c.ops->ServiceQuery(id, &address);
    const char* text = address >= 0x10000 ? reinterpret_cast<const char*>(address) : "";
    Report(c, "queries: %d %s -> %lu, \"%s\"", id, what, static_cast<unsigned long>(ok), text);
}

void ReportGpsInfo(const Context& c) {
    uint32_t address = 0;
    c.ops->ServiceQuery(MDN_QUERY_GPS_INFO, &address);
    const auto* gps = reinterpret_cast<const MdnGpsInfo*>(address);
    if (gps == nullptr) {
        Report(c, "gps: no GPS information record");
        return;
    }
    Report(c,
           "gps: position %.5f %.5f (longitude sign inverted), %.0f ft, track %.1f, "
           "%.0f kt%s",
           gps->latitude, gps->longitude, gps->altitude, gps->track, gps->ground_speed,
           gps->inactive ? ", simulator GPS inactive" : "");
    Report(c,
           "gps: to %.5s: %.2f nm, bearing %.1f, desired track %.1f, cross track %.2f nm, "
           "%lu waypoint(s), %.1f nm remaining",
           gps->active_ident, gps->distance, gps->bearing, gps->desired_track, gps->cross_track,
           static_cast<unsigned long>(gps->waypoint_count), gps->remaining_distance);
    const uint32_t count =
        gps->waypoint_count < MDN_GPS_WAYPOINTS ? gps->waypoint_count : MDN_GPS_WAYPOINTS;
    for (uint32_t i = 0; i < count; ++i) {
        const MdnGpsWaypoint& w = gps->waypoints[i];
        Report(c, "gps:   %lu %.5s %.5f %.5f%s%s", static_cast<unsigned long>(w.number), w.ident,
               w.latitude, w.longitude, (w.flags & MDN_WAYPOINT_ACTIVE) ? " active" : "",
               (w.flags & MDN_WAYPOINT_LAST) ? " last" : "");
    }
}

}  // namespace

void Queries(const Context& c) {
    const MdnOperationTable& ops = *c.ops;
    char name[260] = "";
    Report(c, "queries: 10 active device long name -> %lu, \"%s\"",
           static_cast<unsigned long>(ops.ServiceQuery(MDN_QUERY_ACTIVE_DEVICE_LONG_NAME, name)),
           name);
    Word(c, MDN_QUERY_VOR_PASS_THROUGH, "VOR pass-through");
    Word(c, MDN_QUERY_VERSION, "version");
    Word(c, MDN_QUERY_GLOBAL_RECORD, "simulator global record");
    Word(c, MDN_QUERY_AIRCRAFT_VALUE, "aircraft value");
    Text(c, MDN_QUERY_AIRCRAFT_CFG_PATH, "aircraft configuration file");
    Text(c, MDN_QUERY_AIRCRAFT_FOLDER, "aircraft folder");

    double elevation[3] = {45.0, 7.0, 0.0};
    const uint32_t ok = ops.ServiceQuery(MDN_QUERY_ELEVATION, elevation);
    Report(c, "queries: 1104 ground elevation at %.2f %.2f -> %lu, %.1f m", elevation[0],
           elevation[1], static_cast<unsigned long>(ok), elevation[2]);
    float angle[3] = {45.0f, 7.0f, 0.0f};
    Report(c, "queries: 1100 position angle -> %lu, %.3f degrees",
           static_cast<unsigned long>(ops.ServiceQuery(MDN_QUERY_POSITION_ANGLE, angle)), angle[2]);
    MdnGainPair gains[MDN_GAIN_ENTRIES] = {};
    if (ops.ServiceQuery(MDN_QUERY_GAIN_TABLE, gains)) {
        Report(c, "queries: 1103 gain table: %.3f %.3f %.3f %.3f %.3f %.3f %.3f", gains[0].gain,
               gains[1].gain, gains[2].gain, gains[3].gain, gains[4].gain, gains[5].gain,
               gains[6].gain);
    }

    // Count as a GPS information user, so the record is refreshed once a second.
    ops.ServiceControl(MDN_CONTROL_GPS_INFO_USER_ADD, nullptr);
    c.driver->Pump(1200);
    ReportGpsInfo(c);
    ops.ServiceControl(MDN_CONTROL_GPS_INFO_USER_REMOVE, nullptr);

    const uint32_t boxes = c.driver->BoxCount();
    Report(c, "queries: information box -> %lu",
           static_cast<unsigned long>(
               ops.ServiceControl(MDN_CONTROL_SHOW_INFORMATION, "Hello from the demo gauge.")));
    c.driver->Pump(100);
    SimBox box{};
    if (c.driver->BoxCount() > boxes && c.driver->GetBox(boxes, &box)) {
        char text[1100];
        SimEscape(text, sizeof text, box.text);
        Report(c, "queries: the box read \"%s\": \"%s\"", box.caption, text);
    }
}

}  // namespace demo
