// TrafficInfo.DLL of the stand-in simulator: a registered callback object named
// "ITrafficInfo" whose function 2 hands out an ITrafficInfo interface that answers every call
// from the scripted aircraft, in mode 1 or mode 0 (SetTrafficMode).
#include <windows.h>

#include <cstring>

#include "traffic/traffic_interface.h"
#include "traffic_script.h"

namespace {

using sim_traffic::kAircraft;
using sim_traffic::kAircraftCount;
using sim_traffic::ScriptedAircraft;
using traffic::RegisteredObject;
using traffic::TrafficInterface;

const char* const kVariables[] = {
    "PLANE LATITUDE",
    "PLANE LONGITUDE",
    "PLANE ALTITUDE",
    "INDICATED ALTITUDE",
    "PLANE HEADING DEGREES TRUE",
    "GROUND VELOCITY",
    "VELOCITY WORLD Y",
    "ATC ID",
    "ENG COMBUSTION",
};
const char* const kUnits[] = {"FEET", "BOOL", "DEGREES", "KNOTS", "FEET PER MINUTE"};
constexpr uint32_t kFirstVariableId = 0x300;
constexpr uint32_t kFirstUnitId = 0x600;
constexpr uint32_t kUnknown = 0xFFFFFFFFu;

volatile LONG mode = 1;

uint32_t IndexOf(const char* name, const char* const* names, unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
        if (name != nullptr && std::strcmp(name, names[i]) == 0)
            return i;
    }
    return kUnknown;
}

const ScriptedAircraft* Find(uint32_t id) {
    for (const auto& a : kAircraft) {
        if (a.id == id)
            return &a;
    }
    return nullptr;
}

TrafficInterface* MDN_THISCALL QueryInterface(RegisteredObject*, const char* name);

uint32_t MDN_THISCALL VariableId(TrafficInterface*, const char* name) {
    const uint32_t i = IndexOf(name, kVariables, 9);
    return i == kUnknown ? kUnknown : kFirstVariableId + i;
}

uint32_t MDN_THISCALL UnitId(TrafficInterface*, const char* name) {
    const uint32_t i = IndexOf(name, kUnits, 5);
    return i == kUnknown ? kUnknown : kFirstUnitId + i;
}

int32_t MDN_THISCALL AircraftInRadius(TrafficInterface*, double radius_m, int32_t largest,
                                      uint32_t* ids) {
    if (ids == nullptr || largest <= 0 || radius_m <= 0.0)
        return 0;
    int32_t n = 0;
    for (unsigned i = 0; i < kAircraftCount && n < largest; ++i)
        ids[n++] = kAircraft[i].id;
    return n;
}

// Values in the unit the module asks for; anything else is refused.
int32_t MDN_THISCALL ReadNumber(TrafficInterface*, uint32_t id, uint32_t variable, uint32_t unit,
                                double* value, int32_t index) {
    const ScriptedAircraft* a = Find(id);
    if (a == nullptr || value == nullptr)
        return 0;
    const uint32_t u = unit - kFirstUnitId;
    switch (variable - kFirstVariableId) {
        case 0:
            *value = a->latitude;
            return u == 2 && index == 0;
        case 1:
            *value = a->longitude;
            return u == 2 && index == 0;
        case 2:
            *value = a->plane_altitude;
            return u == 0 && index == 0;
        case 3:
            *value = a->indicated_altitude;
            return u == 0 && index == 0;
        case 4:
            *value = a->heading;
            return u == 2 && index == 0;
        case 5:
            *value = a->ground_speed;
            return u == 3 && index == 0;
        case 6:
            *value = a->vertical_speed;
            return u == 4 && index == 0;
        case 8:
            *value = a->combustion;
            return u == 1 && index == 1;
        default:
            return 0;
    }
}

int32_t MDN_THISCALL ReadText(TrafficInterface*, uint32_t id, uint32_t variable, char* text,
                              int32_t size, int32_t index) {
    const ScriptedAircraft* a = Find(id);
    if (a == nullptr || text == nullptr || size <= 0 || index != 0)
        return 0;
    if (variable != kFirstVariableId + 7)
        return 0;
    std::strncpy(text, a->atc_id, size);
    text[size - 1] = '\0';
    return 1;
}

uint32_t MDN_THISCALL Mode(TrafficInterface*) {
    return static_cast<uint32_t>(mode);
}

const char* MDN_THISCALL AircraftName(TrafficInterface*, uint32_t id) {
    const ScriptedAircraft* a = Find(id);
    return a == nullptr ? "" : a->name;
}

struct Registered {
    const traffic::RegisteredObjectTable* table;
};
struct Interface {
    const traffic::TrafficInterfaceTable* table;
};

const traffic::RegisteredObjectTable kRegisteredTable = {{}, &QueryInterface};
const traffic::TrafficInterfaceTable kInterfaceTable = {
    {},        &VariableId, &UnitId, &AircraftInRadius, nullptr, &ReadNumber,
    &ReadText, nullptr,     &Mode,   &AircraftName,
};
Registered registered{&kRegisteredTable};
Interface interface_object{&kInterfaceTable};

TrafficInterface* MDN_THISCALL QueryInterface(RegisteredObject*, const char* name) {
    if (name == nullptr || std::strcmp(name, traffic::kTrafficInterfaceName) != 0)
        return nullptr;
    return reinterpret_cast<TrafficInterface*>(&interface_object);
}

}  // namespace

extern "C" {

// The registered callback object "ITrafficInfo".
void* __stdcall TrafficInfoObject() {
    return &registered;
}

// 1 for mode 1, 0 for mode 0; the interface answers the new mode from its next call on.
void __stdcall SetTrafficMode(uint32_t new_mode) {
    InterlockedExchange(&mode, new_mode ? 1 : 0);
}

}  // extern "C"
