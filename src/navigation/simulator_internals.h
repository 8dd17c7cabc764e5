// The records that four of the simulator's own modules export and that the queries, the gain
// controls and the terrain map reach into. The layouts belong to the simulator build the
// module runs in; the stand-in simulator builds its modules from this same header, so the two
// sides cannot drift apart.
#pragma once
#include <cstddef>
#include <cstdint>

#include "mdnsrv.h"

namespace navigation::internals {

// Record A, 32-bit word 6: the position angle of a simulator position.
constexpr size_t kPositionAngleWord = 6;
// Record C, 32-bit word 312: the gain object.
constexpr size_t kGainObjectWord = 312;
// Record D, 32-bit word 12: the ground elevation at a latitude and longitude.
constexpr size_t kElevationWord = 12;
// Inside the gain object: the table of functions behind its first word, and the gain setter
// in word 5 of that table; the gain table itself starts 48 bytes into the object.
constexpr size_t kGainSetterWord = 5;
constexpr size_t kGainTableOffset = 48;

// A position in the simulator's units: latitude in metres of its scale (10001750 m to 90
// degrees), longitude in 2^32 units to 360 degrees; the fraction words are 0.
struct SimulatorPosition {
    uint32_t latitude_fraction;
    uint32_t latitude;
    uint32_t longitude_fraction;
    uint32_t longitude;
};
static_assert(sizeof(SimulatorPosition) == 16);

// One entry of the gain table: the level in decibels and a word whose meaning is the
// simulator's. Sixteen bytes, as the simulator's compiler lays out a double and a word.
struct GainEntry {
    double level_db;
    uint32_t word;
    uint32_t reserved;
};
static_assert(sizeof(GainEntry) == 16);
static_assert(offsetof(GainEntry, word) == 8);

// The angle of a position: 2^32 units to 360 degrees.
using PositionAngleFunction = int32_t(MDN_STDCALL*)(const SimulatorPosition* position);
// Writes the ground elevation in metres at *elevation; the two zero words are passed as 0.
using ElevationFunction = uint32_t(MDN_STDCALL*)(double latitude, double longitude, uint32_t zero1,
                                                 double* elevation, uint32_t zero2);
// Sets the table from `count` gain pairs (linear gain, word), entry 0 first.
using GainSetter = uint32_t(MDN_STDCALL*)(void* gain_object, const MdnGainPair* pairs,
                                          uint32_t count);

}  // namespace navigation::internals
