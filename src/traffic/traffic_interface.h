// The simulator's traffic module as the provider sees it: the registered callback object and
// its "ITrafficInfo" interface. Both are objects of 32-bit Windows member-call code: the
// object's first word points at its function table, and each function takes the object as the
// member-call object (thiscall: object in ECX, arguments on the stack, callee-cleans). The
// tables below give every function by its position, so the layout is the same on both
// toolchains; the stand-in traffic module builds its objects from the same types.
#pragma once
#include <cstddef>
#include <cstdint>

#define MDN_THISCALL __attribute__((thiscall))

namespace traffic {

struct RegisteredObject;
struct TrafficInterface;

// Registered callback object, function 2: the interface of that name, or null.
using QueryInterfaceFn = TrafficInterface*(MDN_THISCALL*)(RegisteredObject* self, const char* name);

// ITrafficInfo, function 8: the id of a variable name.
using VariableIdFn = uint32_t(MDN_THISCALL*)(TrafficInterface* self, const char* name);
// Function 9: the id of a unit name.
using UnitIdFn = uint32_t(MDN_THISCALL*)(TrafficInterface* self, const char* unit);
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
    UnitIdFn unit_id;                       // 9
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

}  // namespace traffic
