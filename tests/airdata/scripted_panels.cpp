#include "scripted_panels.h"

#include <cstring>

#include "airdata/airdata.h"
#include "service/exports.h"
#include "runtime/import_table.h"

namespace test {
namespace {

PanelsScript current;
uint8_t* region = nullptr;

// Every published field's offset, in block order: where the writing has got to is the first
// one still holding the reader's pattern.
constexpr size_t kFieldOffsets[] = {0,   4,   8,   16,  24,  32,  40,  48,  56,  64,  72,  80,
                                    88,  96,  104, 112, 120, 124, 128, 132, 136, 140, 144, 148,
                                    152, 156, 160, 164, 168, 176, 204, 208, 316, 320, 324, 328,
                                    332, 336, 340, 344, 348, 352, 356, 360, 364, 368, 372, 376};

bool StillPattern(size_t offset) {
    for (size_t i = offset; i < offset + 4; ++i) {
        if (region[i] != kPattern)
            return false;
    }
    return true;
}

std::string WrittenUpTo() {
    for (size_t offset : kFieldOffsets) {
        if (!StillPattern(offset))
            continue;
        return "writing at " + std::to_string(offset);
    }
    return "all written";
}

uint32_t MDN_STDCALL Lookup(MdnVariableQuery* record) {
    current.log.push_back("lookup " + std::to_string(record->token) + ", " + WrittenUpTo());
    const auto word = current.words.find(record->token);
    if (word != current.words.end()) {
        record->value.f64 = 0;
        record->value.u32 = word->second;
        // The high half carries nothing for integer variables.
        std::memset(reinterpret_cast<uint8_t*>(&record->value) + 4, 0xEE, 4);
        return 1;
    }
    const auto value = current.values.find(record->token);
    record->value.f64 = value == current.values.end() ? 0.0 : value->second;
    return 1;
}

int32_t MDN_STDCALL UnitId(const char* unit) {
    current.log.push_back(std::string("unit ") + unit);
    return std::string(unit) == "feet" ? 1001 : std::string(unit) == "knots" ? 1002 : -1;
}

double MDN_STDCALL AircraftVariable(int32_t variable, int32_t unit, int32_t index) {
    current.log.push_back("aircraft " + std::to_string(variable) + " " + std::to_string(unit) +
                          " " + std::to_string(index) + ", " + WrittenUpTo());
    const auto value = current.aircraft.find(variable);
    return value == current.aircraft.end() ? 0.0 : value->second;
}

}  // namespace

void AirDataModule::SetUp() {
    FreshModule::SetUp();
    // Made again, this time after a reader who got there first.
    airdata::DestroyBlock();
    region = fake::OpenMappingAsReader(MDN_AIRDATA_NAME, MDN_AIRDATA_SIZE);
    ASSERT_NE(region, nullptr);
    std::memset(region, kPattern, MDN_AIRDATA_SIZE);
    ASSERT_TRUE(airdata::CreateBlock());

    current = PanelsScript{};
    table_[runtime::kPanelsVariableLookup] = reinterpret_cast<void*>(&Lookup);
    table_[runtime::kPanelsUnitId] = reinterpret_cast<void*>(&UnitId);
    table_[runtime::kPanelsAircraftVariable] = reinterpret_cast<void*>(&AircraftVariable);
    ImportTable[0].table = table_;
    fake::ClearCalls();
}

void AirDataModule::TearDown() {
    region = nullptr;
    FreshModule::TearDown();
}

PanelsScript& AirDataModule::script() {
    return current;
}
MdnAirDataBlock& AirDataModule::block() {
    return *airdata::Block();
}
const uint8_t* AirDataModule::bytes() {
    return region;
}

}  // namespace test
