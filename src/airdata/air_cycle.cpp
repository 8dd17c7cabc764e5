// The air-data computer's cycle: read the simulator's panel variables, then publish them,
// converted, in the shared block. There is no lock and no valid flag: a reader may see fields
// from two successive cycles, never a torn field (see single_store.h).
#include <array>
#include <cstddef>

#include "airdata/airdata.h"
#include "airdata/conversions.h"
#include "airdata/single_store.h"
#include "platform/kernel.h"
#include "runtime/import_table.h"

namespace airdata {
namespace {

// The panel variables of one cycle, in the order they are read.
constexpr std::array<int32_t, 41> kTokens = {2,   60,  64,  86,  82,  71,  72,  73,  77,  79,  551,
                                             552, 553, 556, 351, 350, 341, 5,   6,   7,   604, 67,
                                             69,  849, 850, 624, 643, 136, 171, 567, 577, 628, 647,
                                             561, 571, 633, 652, 562, 572, 23,  870};

// The index of a token's record; kTokens.size() for a token the cycle does not read.
constexpr size_t RecordOf(int32_t token) {
    for (size_t i = 0; i < kTokens.size(); ++i) {
        if (kTokens[i] == token)
            return i;
    }
    return kTokens.size();
}

using Records = std::array<MdnVariableQuery, kTokens.size()>;

constexpr Records FreshRecords() {
    Records fresh{};
    for (size_t i = 0; i < kTokens.size(); ++i)
        fresh[i].token = kTokens[i];
    return fresh;
}

// One persistent record per variable, reused by every cycle.
Records records = FreshRecords();

template <int32_t token>
double Panel() {
    constexpr size_t index = RecordOf(token);
    static_assert(index < kTokens.size(), "token not read by the cycle");
    return records[index].value.f64;
}

// The radio frequencies are integers: the low 32 bits of the value field.
template <int32_t token>
uint32_t PanelWord() {
    constexpr size_t index = RecordOf(token);
    static_assert(index < kTokens.size(), "token not read by the cycle");
    return records[index].value.u32;
}

struct Entries {
    runtime::VariableLookupFn lookup;
    runtime::UnitIdFn unit_id;
    runtime::AircraftVariableFn aircraft_variable;

    double Aircraft(int32_t variable, const char* unit) const {
        return aircraft_variable(variable, unit_id(unit), 0);
    }
};

// The block's doubles are stored with one 8-byte store each, which is indivisible only
// when the field is 8-aligned in the page-aligned view.
#define MDN_ALIGNED_8(field) \
    static_assert(offsetof(MdnAirDataBlock, field) % 8 == 0, #field " is not 8-aligned")
MDN_ALIGNED_8(timeOfDay);
MDN_ALIGNED_8(value604);
MDN_ALIGNED_8(latitude);
MDN_ALIGNED_8(longitude);
MDN_ALIGNED_8(altitude);
MDN_ALIGNED_8(value552);
MDN_ALIGNED_8(value553);
MDN_ALIGNED_8(value551);
MDN_ALIGNED_8(value77);
MDN_ALIGNED_8(value86);
MDN_ALIGNED_8(value79);
MDN_ALIGNED_8(value351);
MDN_ALIGNED_8(value69);
#undef MDN_ALIGNED_8

// Every field in increasing offset order, each from this cycle's readings; the aircraft
// variables are read just before the field each fills. Reserved bytes are never touched.
void WriteBlock(volatile MdnAirDataBlock* b, const Entries& e) {
    StoreField(&b->word0, 0u);
    StoreField(&b->word1, 0u);
    StoreField(&b->timeOfDay, TimeOfDay(Panel<6>(), Panel<7>(), Panel<5>()));
    StoreField(&b->value604, Panel<604>());
    StoreField(&b->latitude, LatitudeRadians(Panel<71>()));
    StoreField(&b->longitude, LongitudeRadians(Panel<72>()));
    const double altitude = Panel<73>() * kFeetPerMetre;
    StoreField(&b->altitude, altitude);
    StoreField(&b->value552, Panel<552>() * kMetresPerFoot);
    StoreField(&b->value553, Panel<553>() * kMetresPerFoot);
    StoreField(&b->value551, Panel<551>() * kMetresPerFoot);
    StoreField(&b->value77, Panel<77>() * -1.0);
    StoreField(&b->value86, Panel<86>());
    StoreField(&b->value79, Panel<79>());
    StoreField(&b->value351, Panel<351>() / 624.0);
    StoreField(&b->value69, Panel<69>() / 127.0);
    StoreField(&b->value60, WholeNumber(Panel<60>()));

    StoreField(&b->aircraftVar57, Single(e.Aircraft(57, "feet")));
    const float altitude_single = Single(altitude);
    StoreField(&b->altitudeSingle, altitude_single);
    StoreField(&b->heightAboveGround,
               Single(altitude_single - Single(Panel<2>() * kFeetPerMetre * kPer256)));
    StoreField(&b->value556PerMinute, Single(Single(Panel<556>()) * 60.0));
    StoreField(&b->aircraftVar25, Single(e.Aircraft(25, "knots")));
    StoreField(&b->aircraftVar24, Single(e.Aircraft(24, "knots")));
    StoreField(&b->value64, Single(Panel<64>() * kPer65536 * 3.2));
    StoreField(&b->value67, WholeNumber(Panel<67>()));
    StoreField(&b->value86Single, Single(Panel<86>()));
    StoreField(&b->value82, Single(Panel<82>()));
    StoreField(&b->value350, Single(Single(Panel<350>()) * 256.0));
    StoreField(&b->value341, Single(Panel<341>()));
    StoreField(&b->frequency23, Single(DecodeFrequency(PanelWord<23>())));
    StoreField(&b->frequency870, Single(DecodeFrequency(PanelWord<870>())));
    StoreField(&b->value850, Single(Panel<850>()));
    StoreField(&b->value849, Single(Panel<849>()));

    // Two groups of the same form; each group-2 token lies a fixed distance above its
    // group-1 counterpart.
    StoreField(&b->g1Percent, Single(Panel<624>() / 100.0));
    StoreField(&b->g1Fraction, Single(Panel<136>() * kPerSixteenThousand));
    StoreField(&b->g1TemperatureA, Single(RankineToCelsius(Panel<567>())));
    StoreField(&b->g1Mass, Single(Panel<628>() * kKilogramsPerPound));
    StoreField(&b->g1Value, Single(Panel<633>()));
    StoreField(&b->g1TemperatureB, Single(RankineToCelsius(Panel<561>())));
    StoreField(&b->g1Constant, 18.0f);
    StoreField(&b->g1Pressure, Single(Panel<562>() * kSquareFeetPerSquareInch));
    StoreField(&b->g2Percent, Single(Panel<643>() / 100.0));
    StoreField(&b->g2Fraction, Single(Panel<171>() * kPerSixteenThousand));
    StoreField(&b->g2TemperatureA, Single(RankineToCelsius(Panel<577>())));
    StoreField(&b->g2Mass, Single(Panel<647>() * kKilogramsPerPound));
    StoreField(&b->g2Value, Single(Panel<652>()));
    StoreField(&b->g2TemperatureB, Single(RankineToCelsius(Panel<571>())));
    StoreField(&b->g2Constant, 18.0f);
    StoreField(&b->g2Pressure, Single(Panel<572>() * kSquareFeetPerSquareInch));
}

}  // namespace

void ResetQueryRecords() {
    records = FreshRecords();
}

double DecodeFrequency(uint32_t digits) {
    const uint32_t d3 = (digits >> 12) & 0xF;
    const uint32_t d2 = (digits >> 8) & 0xF;
    const uint32_t d1 = (digits >> 4) & 0xF;
    const uint32_t d0 = digits & 0xF;
    double mhz = 100.0 + 10.0 * d3 + d2 + d1 / 10.0;
    if (d0 == 2) {
        mhz += 0.025;
    } else if (d0 == 5) {
        mhz += 0.05;
    } else if (d0 == 7) {
        mhz += 0.075;
    }
    return mhz;
}

void Cycle() {
    // The block may be absent (it could not be made at load), and the simulator may not have
    // handed over its panels table yet: then there is nothing to publish and nothing is read.
    MdnAirDataBlock* block = Block();
    const Entries entries{
        runtime::PanelsEntry<runtime::VariableLookupFn>(runtime::kPanelsVariableLookup),
        runtime::PanelsEntry<runtime::UnitIdFn>(runtime::kPanelsUnitId),
        runtime::PanelsEntry<runtime::AircraftVariableFn>(runtime::kPanelsAircraftVariable)};
    if (block == nullptr || entries.lookup == nullptr || entries.unit_id == nullptr ||
        entries.aircraft_variable == nullptr) {
        return;
    }
    for (MdnVariableQuery& record : records)
        entries.lookup(&record);
    WriteBlock(block, entries);
}

}  // namespace airdata

void MDNADC::Pass() {
    airdata::Cycle();
}
