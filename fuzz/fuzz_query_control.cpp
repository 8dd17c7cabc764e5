// Query and control ids with arbitrary inputs, and terrain maps of arbitrary surfaces, masks
// and positions, against stand-in simulator internals that may be only partly loaded.
// Every buffer is exactly as large as its id's contract says, so any reach past it shows.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "host/module_entry.h"
#include "internals/internal_names.h"
#include "internals/internals_resolver.h"
#include "navigation/navigation.h"
#include "queries/id_table.h"
#include "queries/queries.h"
#include "platform/fake.h"
#include "service/exports.h"
#include "runtime/address_word.h"

namespace {

using namespace internals;

class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    template <class T>
    T Take() {
        T value{};
        const size_t n = sizeof(T) < size_ ? sizeof(T) : size_;
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }
    std::vector<uint8_t> Bytes(size_t n) {
        std::vector<uint8_t> bytes(n, 0);
        const size_t k = n < size_ ? n : size_;
        if (k)
            std::memcpy(bytes.data(), data_, k);
        data_ += k;
        size_ -= k;
        return bytes;
    }

  private:
    const uint8_t* data_;
    size_t size_;
};

struct GainObject {
    const uint32_t* functions;
    uint32_t reserved[11];
    GainEntry table[MDN_GAIN_ENTRIES];
};

double terrain_metres = 0.0;
int32_t angle = 0;

int32_t MDN_STDCALL PositionAngle(const SimulatorPosition* position) {
    return angle ^ static_cast<int32_t>(position->latitude);
}
uint32_t MDN_STDCALL Elevation(double latitude, double longitude, uint32_t, double* metres,
                               uint32_t) {
    *metres = terrain_metres + latitude - longitude;
    return 1;
}
uint32_t MDN_STDCALL SetGains(void* object, const MdnGainPair* pairs, uint32_t count) {
    auto* gains = static_cast<GainObject*>(object);
    for (uint32_t k = 0; k < count && k < MDN_GAIN_ENTRIES; ++k) {
        gains->table[k].level_db = 20.0 * std::log10(pairs[k].gain);
        gains->table[k].word = pairs[k].word;
    }
    return 1;
}

uint32_t Word(const void* p) {
    return runtime::AddressWord(p);
}

struct Records {
    uint32_t a[8] = {};
    uint32_t b[2] = {};
    uint32_t c[kGainObjectWord + 1] = {};
    uint32_t d[kElevationWord + 1] = {};
    uint32_t functions[8] = {};
    GainObject gains = {};
} records;

std::string Plain(NameField field) {
    FlipNameField(field);
    std::string name = NameFieldText(field);
    FlipNameField(field);
    return name;
}

// Modules whose bit is set in `present` are loaded; bit 4 takes the gain object's functions
// away, bit 5 the gain setter.
void MakeWorld(uint8_t present) {
    fake::Reset();
    ResetSimulatorInternals();
    records.a[kPositionAngleWord] = Word(reinterpret_cast<void*>(&PositionAngle));
    records.c[kGainObjectWord] = Word(&records.gains);
    records.d[kElevationWord] = Word(reinterpret_cast<void*>(&Elevation));
    records.functions[kGainSetterWord] =
        present & 0x20 ? 0 : Word(reinterpret_cast<void*>(&SetGains));
    records.gains.functions = present & 0x10 ? nullptr : records.functions;
    const void* record[] = {records.a, records.b, records.c, records.d};
    for (size_t m = 0; m < 4; ++m) {
        if ((present & (1u << m)) == 0)
            continue;
        fake::AddExport(fake::AddModule(Plain(static_cast<NameField>(m))), Plain(kExportName),
                        record[m]);
    }
}

// The panel system's code probe: bytes 11 and 24 hold the two aircraft information words.
// The aircraft text sits at the very end of its object, so a read past it shows.
struct Aircraft {
    uint8_t code[32] = {};
    void* panels[80] = {};
    uint32_t value = 0x12345678u;
    uint32_t object = 0;
    std::vector<char> object_bytes;
} aircraft;

void MakeAircraft(Input& in) {
    const uint8_t length = in.Take<uint8_t>();
    std::vector<uint8_t> text = in.Bytes(length);
    aircraft.object_bytes.assign(436, 'x');
    aircraft.object_bytes.insert(aircraft.object_bytes.end(), text.begin(), text.end());
    aircraft.object_bytes.push_back('\0');
    aircraft.object = Word(aircraft.object_bytes.data());
    const uint32_t value_holder = Word(&aircraft.value);
    const uint32_t object_holder = Word(&aircraft.object);
    std::memcpy(aircraft.code + 11, &value_holder, 4);
    std::memcpy(aircraft.code + 24, &object_holder, 4);
    aircraft.panels[8] = aircraft.code;
    ImportTable[0].table = aircraft.panels;
    navigation::ReadPanelsAddresses();
}

// Known ids come from the module's own tables, with the bytes their contracts give.
void FuzzQuery(Input& in) {
    const auto table = queries::QueryTable();
    const uint8_t pick = in.Take<uint8_t>();
    const int32_t id = pick & 0x80 ? in.Take<int32_t>() : table[pick % table.size()].id;
    if (pick & 0x40) {
        queries::ServiceQuery(id, nullptr);
        return;
    }
    const queries::QueryEntry* entry = queries::FindQuery(id);
    std::vector<uint8_t> out = in.Bytes(entry ? entry->bytes : 4);
    queries::ServiceQuery(id, out.data());
}

void FuzzControl(Input& in) {
    const auto table = queries::ControlTable();
    const uint8_t pick = in.Take<uint8_t>();
    const uint32_t id = pick & 0x80 ? in.Take<uint32_t>() : table[pick % table.size()].id;
    if (pick & 0x40) {
        queries::ServiceControl(id, nullptr);
        return;
    }
    const queries::ControlEntry* entry = queries::FindControl(id);
    const uint16_t bytes = entry ? entry->bytes : 4;
    const bool text = bytes == queries::kTextInput;
    std::vector<uint8_t> input = in.Bytes(text ? in.Take<uint8_t>() : bytes);
    if (text)
        input.push_back(0);
    if (input.empty())
        input.push_back(0);  // an address to pass; the id reads nothing there
    queries::ServiceControl(id, input.data());
}

void FuzzTerrainMap(Input& in) {
    const uint8_t flags = in.Take<uint8_t>();
    int16_t width = in.Take<int8_t>();
    int16_t height = in.Take<int8_t>();
    if (flags & 0x08)
        width = INT16_MIN;
    if (flags & 0x10) {  // a tall, narrow surface: the walk would pass its end
        height = INT16_MAX;
        width &= 3;
    }
    std::vector<uint8_t> pixels(width > 0 && height > 0 ? size_t(width) * height : 0);
    MdnSurface surface{flags & 0x01 ? nullptr : reinterpret_cast<uint16_t*>(pixels.data()), width,
                       height, in.Take<int16_t>()};
    double position[3] = {in.Take<double>(), in.Take<double>(), in.Take<double>()};
    const float range = in.Take<float>();
    const float column = in.Take<float>();
    const float row = in.Take<float>();
    const uint32_t mask = in.Take<uint32_t>();
    terrain_metres = in.Take<double>();
    queries::DrawTerrainMap(flags & 0x02 ? nullptr : &surface, flags & 0x04 ? nullptr : position,
                            range, column, row, mask);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool loaded = [] {
        fake::Reset();
        host::OnLoad();
        return true;
    }();
    (void)loaded;
    Input in(data, size);
    const uint8_t op = in.Take<uint8_t>();
    MakeWorld(in.Take<uint8_t>());
    for (int gain = 0; gain < MDN_GAIN_ENTRIES; ++gain) {
        records.gains.table[gain].level_db = in.Take<double>();
        records.gains.table[gain].word = in.Take<uint32_t>();
    }
    angle = in.Take<int32_t>();
    MakeAircraft(in);
    // Several calls per input, so that retries and resolved states meet.
    for (int call = 0; call < 4; ++call) {
        switch ((op >> (2 * call)) & 3) {
            case 0:
            case 3:
                FuzzQuery(in);
                break;
            case 1:
                FuzzControl(in);
                break;
            case 2:
                FuzzTerrainMap(in);
                break;
        }
    }
    return 0;
}
