#include "block_fields.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "mdnsrv.h"

namespace monitor {
namespace {

typedef uint64_t AlignedWord64 __attribute__((aligned(8)));

#define MDN_FIELD(name, type, unit) \
    { #name, FieldType::type, offsetof(MdnAirDataBlock, name), unit }

}  // namespace

const Field kFields[] = {
    MDN_FIELD(word0, kWord, "always 0"),
    MDN_FIELD(word1, kWord, "always 0"),
    MDN_FIELD(timeOfDay, kDouble, "s"),
    MDN_FIELD(value604, kDouble, "token 604 as read"),
    MDN_FIELD(latitude, kDouble, "rad"),
    MDN_FIELD(longitude, kDouble, "rad"),
    MDN_FIELD(altitude, kDouble, "ft"),
    MDN_FIELD(value552, kDouble, "m (token 552 x 0.3048)"),
    MDN_FIELD(value553, kDouble, "m (token 553 x 0.3048)"),
    MDN_FIELD(value551, kDouble, "m (token 551 x 0.3048)"),
    MDN_FIELD(value77, kDouble, "token 77 negated"),
    MDN_FIELD(value86, kDouble, "token 86 as read"),
    MDN_FIELD(value79, kDouble, "token 79 as read"),
    MDN_FIELD(value351, kDouble, "token 351 / 624"),
    MDN_FIELD(value69, kDouble, "token 69 / 127"),
    MDN_FIELD(value60, kInteger, "token 60 truncated"),
    MDN_FIELD(aircraftVar57, kSingle, "ft"),
    MDN_FIELD(altitudeSingle, kSingle, "ft"),
    MDN_FIELD(heightAboveGround, kSingle, "ft"),
    MDN_FIELD(value556PerMinute, kSingle, "token 556 x 60"),
    MDN_FIELD(aircraftVar25, kSingle, "kt"),
    MDN_FIELD(aircraftVar24, kSingle, "kt"),
    MDN_FIELD(value64, kSingle, "token 64 / 65536 x 3.2"),
    MDN_FIELD(value67, kInteger, "token 67 truncated"),
    MDN_FIELD(value86Single, kSingle, "token 86 as read"),
    MDN_FIELD(value82, kSingle, "token 82 as read"),
    MDN_FIELD(value350, kSingle, "token 350 x 256"),
    MDN_FIELD(value341, kSingle, "token 341 as read"),
    MDN_FIELD(frequency23, kSingle, "MHz"),
    MDN_FIELD(frequency870, kSingle, "MHz"),
    MDN_FIELD(value850, kSingle, "token 850 as read"),
    MDN_FIELD(value849, kSingle, "token 849 as read"),
    MDN_FIELD(g1Percent, kSingle, "token 624 / 100"),
    MDN_FIELD(g1Fraction, kSingle, "token 136 / 16384"),
    MDN_FIELD(g1TemperatureA, kSingle, "deg C"),
    MDN_FIELD(g1Mass, kSingle, "kg"),
    MDN_FIELD(g1Value, kSingle, "token 633 as read"),
    MDN_FIELD(g1TemperatureB, kSingle, "deg C"),
    MDN_FIELD(g1Constant, kSingle, "always 18"),
    MDN_FIELD(g1Pressure, kSingle, "psi"),
    MDN_FIELD(g2Percent, kSingle, "token 643 / 100"),
    MDN_FIELD(g2Fraction, kSingle, "token 171 / 16384"),
    MDN_FIELD(g2TemperatureA, kSingle, "deg C"),
    MDN_FIELD(g2Mass, kSingle, "kg"),
    MDN_FIELD(g2Value, kSingle, "token 652 as read"),
    MDN_FIELD(g2TemperatureB, kSingle, "deg C"),
    MDN_FIELD(g2Constant, kSingle, "always 18"),
    MDN_FIELD(g2Pressure, kSingle, "psi"),
};
const size_t kFieldCount = sizeof kFields / sizeof kFields[0];

namespace {

uint32_t Load32(const volatile unsigned char* at) {
    return __atomic_load_n(reinterpret_cast<const volatile uint32_t*>(at), __ATOMIC_RELAXED);
}

double LoadDouble(const volatile unsigned char* at) {
    const uint64_t bits =
        __atomic_load_n(reinterpret_cast<const volatile AlignedWord64*>(at), __ATOMIC_RELAXED);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

float LoadSingle(const volatile unsigned char* at) {
    const uint32_t bits = Load32(at);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// A reading easier on the eye beside some raw values: clock time and degrees.
void PrintAside(const Field& f, double value, std::FILE* out) {
    if (!std::isfinite(value))
        return;
    if (std::strcmp(f.name, "timeOfDay") == 0 && value >= 0 && value < 86400 * 2) {
        const long s = static_cast<long>(value);
        std::fprintf(out, "  (%02ld:%02ld:%02ld)", s / 3600 % 24, s / 60 % 60, s % 60);
    } else if (std::strcmp(f.name, "latitude") == 0 || std::strcmp(f.name, "longitude") == 0) {
        std::fprintf(out, "  (%.6f deg)", value * 57.29577951308232);
    }
}

}  // namespace

bool PrintReading(const volatile unsigned char* view, std::FILE* out) {
    bool all_zero = true;
    for (size_t i = 0; i < kFieldCount; ++i) {
        const Field& f = kFields[i];
        const volatile unsigned char* at = view + f.offset;
        std::fprintf(out, "%-18s ", f.name);
        double value = 0;
        switch (f.type) {
            case FieldType::kWord:
                value = Load32(at);
                std::fprintf(out, "%20lu", static_cast<unsigned long>(Load32(at)));
                break;
            case FieldType::kInteger:
                value = static_cast<int32_t>(Load32(at));
                std::fprintf(out, "%20ld", static_cast<long>(static_cast<int32_t>(Load32(at))));
                break;
            case FieldType::kSingle:
                value = LoadSingle(at);
                std::fprintf(out, "%20.7g", value);
                break;
            case FieldType::kDouble:
                value = LoadDouble(at);
                std::fprintf(out, "%20.15g", value);
                break;
        }
        if (value != 0)
            all_zero = false;
        std::fprintf(out, "  %s", f.unit);
        PrintAside(f, value, out);
        std::fputc('\n', out);
    }
    return all_zero;
}

}  // namespace monitor
