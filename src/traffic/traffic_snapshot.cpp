// The traffic snapshot: the record table rebuilt from the aircraft ids, in id order, after
// the user's own SELF record when the traffic module is in mode 1.
#include <algorithm>
#include <cstring>

#include "runtime/import_table.h"
#include "traffic/traffic.h"
#include "traffic/traffic_state.h"

namespace traffic {
namespace {

constexpr int32_t kTokenLatitude = 71;   // simulator's internal latitude unit
constexpr int32_t kTokenLongitude = 72;  // simulator's internal longitude unit
constexpr int32_t kTokenAltitude = 829;  // metres
constexpr double kInternalLatitudeToDegrees = 8.998425275576774e-6;     // 90 / 10001750
constexpr double kInternalLongitudeToDegrees = 1.2789769243681803e-12;  // 360 / 2^48
constexpr double kMetresToFeet = 3.2808398950131235;
constexpr char kNavigationAidPrefix[] = "*fsnav";

// Reads one panel variable through a fresh query record; 0 while the lookup is missing.
double PanelValue(int32_t token) {
    MdnVariableQuery query{};
    query.token = token;
    auto lookup = runtime::PanelsEntry<runtime::VariableLookupFn>(runtime::kPanelsVariableLookup);
    if (lookup != nullptr)
        lookup(&query);
    return query.value.f64;
}

MdnTrafficRecord SelfRecord() {
    MdnTrafficRecord self{};
    self.mode = 1;
    const double longitude = PanelValue(kTokenLongitude);
    const double latitude = PanelValue(kTokenLatitude);
    const double altitude = PanelValue(kTokenAltitude);
    self.latitude = latitude * kInternalLatitudeToDegrees;
    self.longitude = longitude * kInternalLongitudeToDegrees;
    self.altitude = altitude * kMetresToFeet;
    self.combustion = 1.0;
    std::strcpy(self.name, "SELF");
    return self;
}

class AircraftReader {
  public:
    AircraftReader(const TrafficState& s, uint32_t aircraft)
        : state_(s), link_(s.traffic_interface), aircraft_(aircraft) {}

    // Through a local: the record's doubles are only 4-byte aligned in the gauges' layout.
    bool Number(Variable variable, Unit unit, int32_t index, double& out) const {
        double value = 0.0;
        if (link_->table->read_number(link_, aircraft_, state_.variable_ids[variable],
                                      state_.unit_ids[unit], &value, index) == 0) {
            return false;
        }
        out = value;
        return true;
    }

    bool Text(Variable variable, char* text, int32_t size) const {
        return link_->table->read_text(link_, aircraft_, state_.variable_ids[variable], text, size,
                                       0) != 0;
    }

    // Mode 1 naming: at most 16 bytes of the interface's name, zero-filled, always ended.
    void Name(char (&name)[16]) const {
        const char* given = link_->table->aircraft_name(link_, aircraft_);
        if (given != nullptr)
            std::strncpy(name, given, sizeof name);
        name[sizeof name - 1] = '\0';
    }

    bool Mode1() const { return link_->table->mode(link_) != 0; }

  private:
    const TrafficState& state_;
    TrafficInterface* link_;
    uint32_t aircraft_;
};

// Fills `record` for one aircraft; false when the aircraft is left out.
bool MakeRecord(const AircraftReader& read, const MdnTrafficRecord* self,
                MdnTrafficRecord& record) {
    if (!read.Number(kPlaneLatitude, kDegrees, 0, record.latitude) ||
        !read.Number(kPlaneLongitude, kDegrees, 0, record.longitude) ||
        !read.Number(kPlaneHeading, kDegrees, 0, record.heading)) {
        return false;
    }
    if (read.Mode1()) {
        // Without a SELF record of this snapshot the user's own aircraft cannot be told
        // apart, so an aircraft that meets mode 1 only after a mode change is left out.
        if (self == nullptr)
            return false;
        if (record.latitude == self->latitude && record.longitude == self->longitude) {
            return false;
        }
        record.mode = 1;
        if (!read.Number(kPlaneAltitude, kFeet, 0, record.altitude))
            return false;
        read.Name(record.name);
        return std::memcmp(record.name, kNavigationAidPrefix, 6) != 0;
    }
    record.mode = 0;
    if (!read.Number(kEngineCombustion, kBool, 1, record.combustion))
        return false;
    if (record.combustion == 0.0)
        return false;  // engine not running; NaN passes
    if (!read.Number(kIndicatedAltitude, kFeet, 0, record.altitude) ||
        !read.Number(kGroundVelocity, kKnots, 0, record.ground_speed) ||
        !read.Number(kVelocityWorldY, kFeetPerMinute, 0, record.vertical_speed)) {
        return false;
    }
    // The text comes as the interface writes it; readers bound it by the field's size.
    return read.Text(kAtcId, record.name, sizeof record.name);
}

}  // namespace

uint32_t Snapshot() {
    TrafficState& s = State();
    s.record_count = 0;
    if (s.traffic_interface == nullptr)
        return 0;

    const MdnTrafficRecord* self = nullptr;
    if (s.traffic_interface->table->mode(s.traffic_interface) != 0) {
        s.records[0] = SelfRecord();
        s.record_count = 1;
        self = &s.records[0];
    }
    const uint32_t ids = std::min(s.aircraft_id_count, kMaxAircraft);
    // SELF plus a full id list would need 101 records: the table stops at its size.
    for (uint32_t i = 0; i < ids && s.record_count < kMaxRecords; ++i) {
        MdnTrafficRecord record{};
        if (!MakeRecord(AircraftReader(s, s.aircraft_ids[i]), self, record))
            continue;
        record.id = s.aircraft_ids[i];
        s.records[s.record_count++] = record;
    }
    return s.record_count;
}

}  // namespace traffic
