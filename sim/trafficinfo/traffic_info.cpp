// TrafficInfo.DLL of the stand-in simulator: a callback object registered with the panel
// system as "ITrafficInfo", whose function 2 hands out an ITrafficInfo interface that answers
// every call from the scripted aircraft, in mode 1 or mode 0 (SetTrafficMode).
#include <windows.h>

#include <cstring>

#include "mdnsrv.h"
#include "sim_traffic.h"
#include "runtime/simulator_layout.h"

namespace {

using runtime::RegisteredObject;
using runtime::TrafficInterface;

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
enum : uint32_t {
    kLatitude,
    kLongitude,
    kPlaneAltitude,
    kIndicated,
    kHeading,
    kSpeed,
    kClimb,
    kAtcId,
    kCombustion
};
const char* const kUnits[] = {"FEET", "BOOL", "DEGREES", "KNOTS", "FEET PER MINUTE"};
enum : uint32_t { kFeet, kBool, kDegrees, kKnots, kFeetPerMinute };
constexpr uint32_t kFirstVariableId = 0x300;
constexpr uint32_t kFirstUnitId = 0x600;
constexpr uint32_t kUnknown = 0xFFFFFFFFu;

// The panel units and the conversions the service module applies to them.
constexpr double kLatitudeUnitToDegrees = 8.998425275576774e-6;
constexpr double kLongitudeUnitToDegrees = 1.2789769243681803e-12;
constexpr double kMetresToFeet = 3.2808398950131235;

volatile LONG mode = 1;

uint32_t IndexOf(const char* name, const char* const* names, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        if (name != nullptr && std::strcmp(name, names[i]) == 0)
            return i;
    }
    return kUnknown;
}

const SimTrafficAircraft* Find(uint32_t id) {
    for (const auto& a : kSimTraffic) {
        if (a.id == id)
            return &a;
    }
    return nullptr;
}

// A panel variable through the panels table's lookup word, as a gauge reads it.
double PanelValue(int32_t token) {
    HMODULE panels = GetModuleHandleA("PANELS.DLL");
    const auto* table =
        panels ? reinterpret_cast<const uintptr_t*>(GetProcAddress(panels, "Linkage")) : nullptr;
    MdnVariableQuery query{};
    query.token = token;
    if (table != nullptr && table[40] != 0) {
        reinterpret_cast<uint32_t(__stdcall*)(MdnVariableQuery*)>(table[40])(&query);
    }
    return query.value.f64;
}

// Through a volatile, so the product is rounded to a double exactly as a stored record is.
double Converted(int32_t token, double factor) {
    volatile double product = PanelValue(token) * factor;
    return product;
}

bool OwnValue(uint32_t variable, double* value) {
    switch (variable) {
        case kLatitude:
            *value = Converted(71, kLatitudeUnitToDegrees);
            return true;
        case kLongitude:
            *value = Converted(72, kLongitudeUnitToDegrees);
            return true;
        case kPlaneAltitude:
        case kIndicated:
            *value = Converted(829, kMetresToFeet);
            return true;
        default:
            return false;
    }
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
    for (uint32_t i = 0; i < SIM_TRAFFIC_COUNT && n < largest; ++i)
        ids[n++] = kSimTraffic[i].id;
    return n;
}

// Each variable in the one unit (and index) it is kept in; anything else is refused.
int32_t MDN_THISCALL ReadNumber(TrafficInterface*, uint32_t id, uint32_t variable_id,
                                uint32_t unit_id, double* value, int32_t index) {
    const SimTrafficAircraft* a = Find(id);
    if (a == nullptr || value == nullptr)
        return 0;
    const uint32_t variable = variable_id - kFirstVariableId;
    const uint32_t unit = unit_id - kFirstUnitId;
    static const uint32_t kUnitOf[] = {kDegrees, kDegrees,       kFeet,    kFeet, kDegrees,
                                       kKnots,   kFeetPerMinute, kUnknown, kBool};
    if (variable >= 9 || kUnitOf[variable] != unit)
        return 0;
    if (index != (variable == kCombustion ? 1 : 0))
        return 0;
    if (a->id == SIM_TRAFFIC_OWN_ID && OwnValue(variable, value))
        return 1;
    const double values[] = {a->latitude,           a->longitude, a->plane_altitude,
                             a->indicated_altitude, a->heading,   a->ground_speed,
                             a->vertical_speed,     0.0,          a->combustion};
    *value = values[variable];
    return 1;
}

int32_t MDN_THISCALL ReadText(TrafficInterface*, uint32_t id, uint32_t variable_id, char* text,
                              int32_t size, int32_t index) {
    const SimTrafficAircraft* a = Find(id);
    if (a == nullptr || text == nullptr || size <= 0 || index != 0)
        return 0;
    if (variable_id != kFirstVariableId + kAtcId)
        return 0;
    std::strncpy(text, a->atc_id, size);
    text[size - 1] = '\0';
    return 1;
}

uint32_t MDN_THISCALL Mode(TrafficInterface*) {
    return static_cast<uint32_t>(mode);
}

const char* MDN_THISCALL AircraftName(TrafficInterface*, uint32_t id) {
    const SimTrafficAircraft* a = Find(id);
    return a == nullptr ? "" : a->name;
}

struct Registered {
    const runtime::RegisteredObjectTable* table;
};
struct Interface {
    const runtime::TrafficInterfaceTable* table;
};

const runtime::RegisteredObjectTable kRegisteredTable = {{}, &QueryInterface};
const runtime::TrafficInterfaceTable kInterfaceTable = {
    {},        &VariableId, &UnitId, &AircraftInRadius, nullptr, &ReadNumber,
    &ReadText, nullptr,     &Mode,   &AircraftName,
};
Registered registered{&kRegisteredTable};
Interface interface_object{&kInterfaceTable};

TrafficInterface* MDN_THISCALL QueryInterface(RegisteredObject*, const char* name) {
    if (name == nullptr || std::strcmp(name, runtime::kTrafficInterfaceName) != 0)
        return nullptr;
    return reinterpret_cast<TrafficInterface*>(&interface_object);
}

// PANELS.DLL is loaded before the other stand-in modules; without it nothing is registered.
void Register(void* object) {
    HMODULE panels = GetModuleHandleA("PANELS.DLL");
    auto add = panels ? reinterpret_cast<SimPanelsRegisterObjectFn>(
                            GetProcAddress(panels, "SimPanelsRegisterObject"))
                      : nullptr;
    if (add != nullptr)
        add(runtime::kTrafficInterfaceName, object);
}

}  // namespace

extern "C" {

__declspec(dllexport) void __stdcall SetTrafficMode(uint32_t new_mode) {
    InterlockedExchange(&mode, new_mode ? 1 : 0);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        Register(&registered);
    } else if (reason == DLL_PROCESS_DETACH) {
        Register(nullptr);
    }
    return TRUE;
}

}  // extern "C"
