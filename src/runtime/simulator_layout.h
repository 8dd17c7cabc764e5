// Every layout the module shares with the simulator it runs in, as far as the module reads or
// calls it: the panels function table, the global record, the GPS data block, the traffic
// module's objects and the internal modules' records. The stand-in simulator builds its
// modules from this same header, so the two sides cannot drift apart; the gauges' records are
// in mdnsrv.h.
#pragma once
#include <cstddef>
#include <cstdint>

#include "mdnsrv.h"

#define MDN_THISCALL __attribute__((thiscall))

namespace runtime {

// ---- the panels function table -------------------------------------------------------------

// Entries of the panels function table (also PANELS.DLL's Linkage record) the module uses.
enum PanelsEntryIndex : unsigned {
    kPanelsCodeProbe = 8,        // code whose bytes 11 and 24 hold two aircraft words
    kPanelsNamedVariable = 39,   // finds a named variable block ("FS2002 GPS DATA")
    kPanelsVariableLookup = 40,  // the panel-variable lookup the panels hook replaces
    kPanelsUnitId = 73,
    kPanelsAircraftVariable = 75,
    kPanelsRegisteredObject = 77,  // finds a registered object ("ITrafficInfo")
};

using NamedVariableFn = void(MDN_STDCALL*)(MdnVariableQuery* record, const char* name);
using VariableLookupFn = uint32_t(MDN_STDCALL*)(MdnVariableQuery* record);
using UnitIdFn = int32_t(MDN_STDCALL*)(const char* unit_name);
using AircraftVariableFn = double(MDN_STDCALL*)(int32_t variable, int32_t unit, int32_t index);
using RegisteredObjectFn = void*(MDN_STDCALL*)(const char* name);

// The code probe's first 32 bytes hold the two aircraft information words, little-endian, at
// these byte offsets (the first unaligned).
constexpr size_t kCodeProbeBytes = 32;
constexpr size_t kCodeProbeFirstWord = 11;
constexpr size_t kCodeProbeSecondWord = 24;

// ---- GLOBAL.DLL ----------------------------------------------------------------------------

// The simulator global record lies this many bytes into GLOBAL.DLL's Linkage export.
constexpr size_t kGlobalRecordOffset = 620;

// ---- the GPS data block (panels table word 39, "FS2002 GPS DATA") --------------------------

constexpr char kGpsDataName[] = "FS2002 GPS DATA";

// The simulator's GPS data block, as far as it is read. raw64 fields are fixed-point values
// whose lowest 16 bits carry no meaning.
#pragma pack(push, 4)
struct GpsDataBlock {
    uint32_t size;
    uint32_t reserved4;
    int64_t latitude;     // 2^32 units per metre, 10001750 m to 90 degrees
    int64_t longitude;    // 2^64 units to 360 degrees
    int64_t altitude;     // 2^32 units per metre
    double variation;     // radians
    double ground_speed;  // metres per second
    uint8_t reserved48[8];
    double track;  // radians
    uint8_t reserved64[4];
    uint32_t state;  // 0: the simulator GPS has no state
    uint8_t reserved72[4];
    int32_t active_index;
    uint8_t reserved80[48];
    double distance;  // metres to the active waypoint
    uint8_t reserved136[8];
    double cross_track;    // metres
    double desired_track;  // radians
    uint8_t reserved160[8];
    int32_t waypoint_count;
    uint32_t waypoints;  // address of waypoint_count entries, 0 when there is no plan
};
struct GpsWaypointEntry {
    uint8_t reserved0[8];
    int64_t latitude;
    int64_t longitude;
    uint8_t reserved24[32];
    char ident[8];  // zero-terminated
};
#pragma pack(pop)
// The simulator's block goes on beyond these 176 bytes; its first word gives its size.
static_assert(sizeof(GpsDataBlock) == 176, "the block's size must be at least this");
static_assert(offsetof(GpsDataBlock, variation) == 32);
static_assert(offsetof(GpsDataBlock, track) == 56);
static_assert(offsetof(GpsDataBlock, state) == 68);
static_assert(offsetof(GpsDataBlock, active_index) == 76);
static_assert(offsetof(GpsDataBlock, distance) == 128);
static_assert(offsetof(GpsDataBlock, cross_track) == 144);
static_assert(offsetof(GpsDataBlock, waypoint_count) == 168);
static_assert(offsetof(GpsDataBlock, waypoints) == 172);
static_assert(sizeof(GpsWaypointEntry) == 64);
static_assert(offsetof(GpsWaypointEntry, ident) == 56);

// ---- the traffic module's objects (panels table word 77, "ITrafficInfo") ------------------
//
// The simulator's traffic module as the provider sees it: the registered callback object and
// its "ITrafficInfo" interface. Both are objects of 32-bit Windows member-call code: the
// object's first word points at its function table, and each function takes the object as the
// member-call object (thiscall: object in ECX, arguments on the stack, callee-cleans). The
// tables below give every function by its position, so the layout is the same on both
// toolchains; the stand-in traffic module builds its objects from the same types.

struct RegisteredObject;
struct TrafficInterface;

// Registered callback object, function 2: the interface of that name, or null.
using QueryInterfaceFn = TrafficInterface*(MDN_THISCALL*)(RegisteredObject* self, const char* name);

// ITrafficInfo, function 8: the id of a variable name.
using VariableIdFn = uint32_t(MDN_THISCALL*)(TrafficInterface* self, const char* name);
// Function 9: the id of a unit name.
using TrafficUnitIdFn = uint32_t(MDN_THISCALL*)(TrafficInterface* self, const char* unit);
// Function 10: writes the ids of aircraft within `radius_m` (at most `largest`) to `ids`;
// the number written.
using AircraftInRadiusFn = int32_t(MDN_THISCALL*)(TrafficInterface* self, double radius_m,
                                                  int32_t largest, uint32_t* ids);
// Function 12: reads a numeric variable of an aircraft into `value`; nonzero when written.
using ReadNumberFn = int32_t(MDN_THISCALL*)(TrafficInterface* self, uint32_t aircraft,
                                            uint32_t variable, uint32_t unit, double* value,
                                            int32_t index);
// Function 13: reads a text variable of an aircraft into `text` (`size` bytes); nonzero
// when written.
using ReadTextFn = int32_t(MDN_THISCALL*)(TrafficInterface* self, uint32_t aircraft,
                                          uint32_t variable, char* text, int32_t size,
                                          int32_t index);
// Function 15: nonzero for mode 1, zero for mode 0.
using ModeFn = uint32_t(MDN_THISCALL*)(TrafficInterface* self);
// Function 16: the aircraft's name, a NUL-terminated text.
using AircraftNameFn = const char*(MDN_THISCALL*)(TrafficInterface* self, uint32_t aircraft);

struct RegisteredObjectTable {
    void* unused0[2];
    QueryInterfaceFn query_interface;  // 2
};

struct RegisteredObject {
    const RegisteredObjectTable* table;
};

struct TrafficInterfaceTable {
    void* unused0[8];
    VariableIdFn variable_id;               // 8
    TrafficUnitIdFn unit_id;                // 9
    AircraftInRadiusFn aircraft_in_radius;  // 10
    void* unused11;
    ReadNumberFn read_number;  // 12
    ReadTextFn read_text;      // 13
    void* unused14;
    ModeFn mode;                   // 15
    AircraftNameFn aircraft_name;  // 16
};

struct TrafficInterface {
    const TrafficInterfaceTable* table;
};

constexpr char kTrafficInterfaceName[] = "ITrafficInfo";

static_assert(sizeof(void*) == 4, "the traffic module is 32-bit code");
static_assert(offsetof(RegisteredObjectTable, query_interface) == 2 * 4);
static_assert(offsetof(TrafficInterfaceTable, variable_id) == 8 * 4);
static_assert(offsetof(TrafficInterfaceTable, unit_id) == 9 * 4);
static_assert(offsetof(TrafficInterfaceTable, aircraft_in_radius) == 10 * 4);
static_assert(offsetof(TrafficInterfaceTable, read_number) == 12 * 4);
static_assert(offsetof(TrafficInterfaceTable, read_text) == 13 * 4);
static_assert(offsetof(TrafficInterfaceTable, mode) == 15 * 4);
static_assert(offsetof(TrafficInterfaceTable, aircraft_name) == 16 * 4);
static_assert(sizeof(TrafficInterfaceTable) == 17 * 4);

// ---- records of the simulator's internal modules ------------------------------------------
//
// The records that four of the simulator's own modules export and that the queries, the gain
// controls and the terrain map reach into. The layouts belong to the simulator build the
// module runs in; the stand-in simulator builds its modules from this same header, so the two
// sides cannot drift apart.

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

}  // namespace runtime
