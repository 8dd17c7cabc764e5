// Drives the traffic snapshot, the gauges' copy and the dump with a traffic module whose every
// answer comes from the input: connection outcome, aircraft counts, read failures, values,
// texts with and without terminators, and the mode changing from call to call.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/fake.h"
#include "service/exports.h"
#include "runtime/import_table.h"
#include "traffic/traffic.h"
#include "traffic/traffic_state.h"

namespace {

// The input, read front to back; zeros once it runs out.
struct Input {
    const uint8_t* data;
    size_t size;
    uint8_t Byte() {
        if (size == 0)
            return 0;
        --size;
        return *data++;
    }
    template <class T>
    T Value() {
        T v{};
        uint8_t bytes[sizeof(T)] = {};
        for (auto& b : bytes)
            b = Byte();
        std::memcpy(&v, bytes, sizeof v);
        return v;
    }
};

Input in{nullptr, 0};
char name_text[24];

struct Object {
    const void* table;
};

void* MDN_STDCALL FindRegisteredObject(const char*);
uint32_t MDN_STDCALL LookupPanelVariable(MdnVariableQuery* query) {
    query->value.f64 = in.Value<double>();
    return 1;
}

traffic::TrafficInterface* MDN_THISCALL QueryInterface(traffic::RegisteredObject*, const char*);

uint32_t MDN_THISCALL NameId(traffic::TrafficInterface*, const char*) {
    return in.Value<uint32_t>();
}

int32_t MDN_THISCALL AircraftInRadius(traffic::TrafficInterface*, double, int32_t largest,
                                      uint32_t* ids) {
    // Writes within what was asked for, answers any count.
    const int32_t written = largest <= 0 ? 0 : in.Byte() % (largest + 1);
    for (int32_t i = 0; i < written; ++i)
        ids[i] = in.Byte();
    return in.Byte() & 1 ? written : in.Value<int32_t>();
}

int32_t MDN_THISCALL ReadNumber(traffic::TrafficInterface*, uint32_t, uint32_t, uint32_t,
                                double* value, int32_t) {
    const uint8_t how = in.Byte();
    if (how & 1)
        return 0;
    *value = how & 2 ? static_cast<double>(how >> 2) : in.Value<double>();
    return 1;
}

int32_t MDN_THISCALL ReadText(traffic::TrafficInterface*, uint32_t, uint32_t, char* text,
                              int32_t size, int32_t) {
    const uint8_t how = in.Byte();
    if (how & 1)
        return 0;
    const int32_t n = std::min<int32_t>(how >> 1, size);  // may fill without a terminator
    for (int32_t i = 0; i < n; ++i)
        text[i] = static_cast<char>(in.Byte());
    return 1;
}

uint32_t MDN_THISCALL Mode(traffic::TrafficInterface*) {
    return in.Byte() & 1;
}

const char* MDN_THISCALL AircraftName(traffic::TrafficInterface*, uint32_t) {
    const uint8_t how = in.Byte();
    if (how == 0xFF)
        return nullptr;
    const size_t n = std::min<size_t>(how % 32, sizeof name_text - 1);
    for (size_t i = 0; i < n; ++i)
        name_text[i] = static_cast<char>(in.Byte());
    name_text[n] = '\0';
    return name_text;
}

const traffic::RegisteredObjectTable kRegisteredTable = {{}, &QueryInterface};
const traffic::TrafficInterfaceTable kInterfaceTable = {
    {},        &NameId, &NameId, &AircraftInRadius, nullptr, &ReadNumber,
    &ReadText, nullptr, &Mode,   &AircraftName,
};
Object registered{&kRegisteredTable};
Object link{&kInterfaceTable};
void* panels[80];

void* MDN_STDCALL FindRegisteredObject(const char*) {
    return in.Byte() == 0xEE ? nullptr : &registered;
}

traffic::TrafficInterface* MDN_THISCALL QueryInterface(traffic::RegisteredObject*, const char*) {
    return in.Byte() == 0xEE ? nullptr : reinterpret_cast<traffic::TrafficInterface*>(&link);
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckSnapshot(const MdnTrafficRecord* copy, uint32_t copied) {
    const traffic::TrafficState& s = traffic::State();
    Check(s.aircraft_id_count <= traffic::kMaxAircraft);
    Check(s.record_count <= traffic::kMaxRecords);
    Check(copied == s.record_count);
    for (uint32_t i = 0; i < copied; ++i) {
        const MdnTrafficRecord& r = copy[i];
        Check(r.mode <= 1);
        if (r.mode == 1)
            Check(std::memchr(r.name, 0, sizeof r.name) != nullptr);
        if (r.mode == 0)
            Check(!(r.combustion == 0.0));
        if (i > 0 && r.mode == 1)
            Check(std::memcmp(r.name, "*fsnav", 6) != 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fake::Reset();
    in = Input{data, size};
    traffic::Load();
    panels[runtime::kPanelsVariableLookup] = reinterpret_cast<void*>(&LookupPanelVariable);
    panels[runtime::kPanelsRegisteredObject] = reinterpret_cast<void*>(&FindRegisteredObject);
    ImportTable[0].table = panels;

    static MdnTrafficRecord copy[MDN_TRAFFIC_MAX];
    for (int round = 0; round < 4 && in.size > 0; ++round) {
        fake::AdvanceTime(in.Byte() * 4u);
        if (in.Byte() & 1) {
            traffic::DumpTrafficCommand();
            CheckSnapshot(traffic::State().records, traffic::State().record_count);
        } else {
            CheckSnapshot(copy, traffic::GetTrafficList(copy));
        }
    }
    Check(fake::MessageBoxes().size() <= 1);

    traffic::Unload();
    ImportTable[0].table = nullptr;
    return 0;
}
