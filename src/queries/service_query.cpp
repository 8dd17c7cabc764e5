// ServiceQuery (slot 0): numbered queries answered into the caller's buffer.
#include <cstring>

#include "internals/internals_resolver.h"
#include "navigation/navigation.h"
#include "queries/queries.h"
#include "queries/nearest_integer.h"
#include "queries/aircraft_path.h"
#include "queries/gain_table.h"
#include "queries/id_table.h"
#include "runtime/address_checks.h"
#include "runtime/module_version.h"
#include "runtime/address_word.h"
#include "runtime/diag_log.h"

namespace queries {
namespace {

using internals::PrepareSimulatorInternals;
using internals::SimulatorPosition;

// Metres of the simulator's latitude scale per degree (10001750 m to 90 degrees) and 2^32
// longitude units per 360 degrees.
constexpr double kLatitudeUnitsPerDegree = 111130.55555555556;
constexpr double kLongitudeUnitsPerDegree = 11930464.711111112;
// 360 degrees per 2^32 angle units.
constexpr double kDegreesPerAngleUnit = 8.381903171539307e-08;

void StoreWord(void* out, uint32_t word) {
    std::memcpy(out, &word, sizeof word);
}

// The address comes from the simulator's code or records: 0 when it cannot be read.
uint32_t WordAt(uintptr_t address) {
    if (address == 0)
        return 0;
    if (!runtime::IsReadable(reinterpret_cast<const void*>(address), sizeof(uint32_t)))
        return MDN_WHY("did nothing: the word's address is not readable"), 0;
    uint32_t word;
    std::memcpy(&word, reinterpret_cast<const void*>(address), sizeof word);
    return word;
}

// In: latitude and longitude as floats; out: the third float, the angle in degrees.
void QueryPositionAngle(void* inout) {
    const auto& s = PrepareSimulatorInternals();
    if (s.position_angle == nullptr) {
        MDN_WHY("did nothing: no module answers position angles");
        return;
    }
    float in[2];
    std::memcpy(in, inout, sizeof in);
    SimulatorPosition position{};
    position.latitude = NearestLow32(static_cast<double>(in[0]) * kLatitudeUnitsPerDegree);
    position.longitude = NearestLow32(static_cast<double>(in[1]) * kLongitudeUnitsPerDegree);
    const uint32_t angle = static_cast<uint32_t>(s.position_angle(&position));
    float degrees = static_cast<float>(angle * kDegreesPerAngleUnit);
    if (degrees > 180.0f)
        degrees -= 360.0f;
    std::memcpy(static_cast<char*>(inout) + 2 * sizeof(float), &degrees, sizeof degrees);
}

// In: latitude and longitude as doubles; out: the third double, the elevation in metres.
void QueryElevation(void* inout) {
    const auto& s = PrepareSimulatorInternals();
    if (s.elevation == nullptr) {
        MDN_WHY("did nothing: no module answers ground elevation");
        return;
    }
    double in[2];
    std::memcpy(in, inout, sizeof in);
    double elevation;
    double* target = static_cast<double*>(inout) + 2;
    std::memcpy(&elevation, target, sizeof elevation);  // kept when the function writes nothing
    s.elevation(in[0], in[1], 0, &elevation, 0);
    std::memcpy(target, &elevation, sizeof elevation);
}

uint32_t LongName(void* out) {
    navigation::GetActiveNavDevice(static_cast<char*>(out), nullptr);
    return 1;
}
uint32_t ShortName(void* out) {
    navigation::GetActiveNavDevice(nullptr, static_cast<char*>(out));
    return 1;
}
uint32_t VorPassThrough(void* out) {
    StoreWord(out, navigation::VorPassThrough() ? 1u : 0u);
    return 1;
}
uint32_t GpsInfo(void* out) {
    StoreWord(out, runtime::AddressWord(navigation::GpsInfoRecord()));
    return 1;
}
uint32_t GpsInfoIfUsed(void* out) {
    const bool used = navigation::GpsInfoUserCount() >= 1;
    StoreWord(out, used ? runtime::AddressWord(navigation::GpsInfoRecord()) : 0u);
    return 1;
}
uint32_t AircraftValue(void* out) {
    StoreWord(out, WordAt(navigation::AircraftInformationWord(0)));
    return 1;
}
uint32_t AircraftConfigurationPath(void* out) {
    StoreWord(out, runtime::AddressWord(queries::AircraftConfigurationPath()));
    return 1;
}
uint32_t AircraftFolder(void* out) {
    StoreWord(out, runtime::AddressWord(queries::AircraftFolder()));
    return 1;
}
uint32_t PositionAngle(void* inout) {
    QueryPositionAngle(inout);
    return 1;
}
uint32_t GainPercent(void* inout) {
    return QueryGainPercent(inout) ? 1 : 0;
}
uint32_t GainWord(void* inout) {
    return QueryGainWord(inout) ? 1 : 0;
}
uint32_t GainTable(void* out) {
    QueryGainTable(out);
    return 1;
}
uint32_t Elevation(void* inout) {
    QueryElevation(inout);
    return 1;
}
uint32_t GlobalRecord(void* out) {
    StoreWord(out, WordAt(navigation::SimulatorGlobalRecord()));
    return 1;
}
uint32_t Version(void* out) {
    StoreWord(out, runtime::PackedVersion());
    return 1;
}

constexpr QueryEntry kQueries[] = {
    MDN_ID_ENTRY(MDN_QUERY_ACTIVE_DEVICE_LONG_NAME, MDN_NAME_SIZE, LongName),
    MDN_ID_ENTRY(MDN_QUERY_ACTIVE_DEVICE_SHORT_NAME, MDN_NAME_SIZE, ShortName),
    MDN_ID_ENTRY(MDN_QUERY_VOR_PASS_THROUGH, 4, VorPassThrough),
    MDN_ID_ENTRY(MDN_QUERY_GPS_INFO, 4, GpsInfo),
    MDN_ID_ENTRY(MDN_QUERY_GPS_INFO_IF_USED, 4, GpsInfoIfUsed),
    MDN_ID_ENTRY(MDN_QUERY_AIRCRAFT_VALUE, 4, AircraftValue),
    MDN_ID_ENTRY(MDN_QUERY_AIRCRAFT_CFG_PATH, 4, AircraftConfigurationPath),
    MDN_ID_ENTRY(MDN_QUERY_AIRCRAFT_FOLDER, 4, AircraftFolder),
    MDN_ID_ENTRY(MDN_QUERY_POSITION_ANGLE, 3 * sizeof(float), PositionAngle),
    MDN_ID_ENTRY(MDN_QUERY_GAIN_PERCENT, 4, GainPercent),
    MDN_ID_ENTRY(MDN_QUERY_GAIN_WORD, 4, GainWord),
    MDN_ID_ENTRY(MDN_QUERY_GAIN_TABLE, MDN_GAIN_ENTRIES * sizeof(MdnGainPair), GainTable),
    MDN_ID_ENTRY(MDN_QUERY_ELEVATION, 3 * sizeof(double), Elevation),
    MDN_ID_ENTRY(MDN_QUERY_GLOBAL_RECORD, 4, GlobalRecord),
    MDN_ID_ENTRY(MDN_QUERY_VERSION, 4, Version),
};

}  // namespace

std::span<const QueryEntry> QueryTable() {
    return kQueries;
}

uint32_t MDN_STDCALL ServiceQuery(int32_t id, void* out) {
    if (out == nullptr)
        return MDN_WHY("no buffer"), 0;
    const QueryEntry* entry = FindQuery(id);
    if (entry == nullptr)
        return MDN_WHY("unknown query id"), 0;
    return entry->answer(out);
}

}  // namespace queries
