// Arbitrary simulator values through one air-data cycle: every bit pattern the lookups and
// the aircraft variables may deliver (NaN, infinities, huge values, odd digit groups) must be
// published without undefined behaviour, and the cycle must keep to its fields.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "airdata/airdata.h"
#include "host/module_entry.h"
#include "platform/fake.h"
#include "service/exports.h"
#include "runtime/import_table.h"

namespace {

constexpr uint8_t kPattern = 0xA5;

const uint8_t* input;
size_t input_size;
size_t taken;

// The next eight input bytes (zero past the end).
void Take(void* out) {
    uint8_t bytes[8] = {};
    for (size_t i = 0; i < 8 && taken < input_size; ++i)
        bytes[i] = input[taken++];
    std::memcpy(out, bytes, 8);
}

uint32_t MDN_STDCALL Lookup(MdnVariableQuery* record) {
    Take(&record->value);
    return 1;
}

int32_t MDN_STDCALL UnitId(const char*) {
    return 1;
}

double MDN_STDCALL AircraftVariable(int32_t, int32_t, int32_t) {
    double value;
    Take(&value);
    return value;
}

void* table[80];

bool Ready() {
    fake::Reset();
    host::OnLoad();
    table[runtime::kPanelsVariableLookup] = reinterpret_cast<void*>(&Lookup);
    table[runtime::kPanelsUnitId] = reinterpret_cast<void*>(&UnitId);
    table[runtime::kPanelsAircraftVariable] = reinterpret_cast<void*>(&AircraftVariable);
    ImportTable[0].table = table;
    return airdata::Block() != nullptr;
}

bool Untouched(const uint8_t* bytes, size_t offset, size_t size) {
    for (size_t i = offset; i < offset + size; ++i) {
        if (bytes[i] != kPattern)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = Ready();
    if (!ready)
        __builtin_trap();
    input = data;
    input_size = size;
    taken = 0;

    auto* bytes = reinterpret_cast<uint8_t*>(airdata::Block());
    std::memset(bytes, kPattern, MDN_AIRDATA_SIZE);
    airdata::ResetQueryRecords();
    airdata::Cycle();

    const MdnAirDataBlock* block = airdata::Block();
    if (block->word0 != 0 || block->word1 != 0)
        __builtin_trap();
    if (!Untouched(bytes, 116, 4) || !Untouched(bytes, 172, 4) || !Untouched(bytes, 180, 24) ||
        !Untouched(bytes, 212, 104) || !Untouched(bytes, 380, 4)) {
        __builtin_trap();
    }
    if (block->g1Constant != 18.0f || block->g2Constant != 18.0f)
        __builtin_trap();
    return 0;
}
