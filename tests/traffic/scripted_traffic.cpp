#include "scripted_traffic.h"

#include <algorithm>
#include <cstring>

#include "platform/fake.h"
#include "service/exports.h"
#include "runtime/import_table.h"

namespace test {
namespace {

ScriptedTraffic* current = nullptr;

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
// Ids far apart, so a variable id passed where a unit id belongs shows in the log.
constexpr uint32_t kFirstVariableId = 0x5100;
constexpr uint32_t kFirstUnitId = 0x7700;

uint32_t IdOf(const char* name, const char* const* names, size_t count, uint32_t first) {
    for (size_t i = 0; i < count; ++i) {
        if (name != nullptr && std::strcmp(name, names[i]) == 0)
            return first + i;
    }
    return 0xDEAD;
}

// ---- the panels table entries (callee-cleans) ----

void* MDN_STDCALL FindRegisteredObject(const char* name) {
    fake::Log("FindRegisteredObject", name);
    if (!current->registered || name == nullptr || std::strcmp(name, "ITrafficInfo") != 0) {
        return nullptr;
    }
    return current->registered_object;
}

uint32_t MDN_STDCALL LookupPanelVariable(MdnVariableQuery* query) {
    const bool fresh = query->reserved4[0] == 0 && query->reserved4[1] == 0 &&
                       query->value.u32 == 0 && query->reserved20[0] == 0 &&
                       query->reserved20[1] == 0;
    fake::Log("LookupPanelVariable", query->token, fresh ? "fresh" : "used");
    switch (query->token) {
        case 71:
            query->value.f64 = current->token71;
            return 1;
        case 72:
            query->value.f64 = current->token72;
            return 1;
        case 829:
            query->value.f64 = current->token829;
            return 1;
        default:
            return 0;
    }
}

// ---- the member-call objects ----

struct Registered {
    const traffic::RegisteredObjectTable* table;
};
struct Interface {
    const traffic::TrafficInterfaceTable* table;
};

traffic::TrafficInterface* MDN_THISCALL QueryInterface(traffic::RegisteredObject* self,
                                                       const char* name) {
    fake::Log("QueryInterface", self == current->registered_object ? "object" : "stranger", name);
    return current->interface_available ? current->traffic_interface : nullptr;
}

uint32_t MDN_THISCALL VariableId(traffic::TrafficInterface*, const char* name) {
    fake::Log("VariableId", name);
    return IdOf(name, kVariables, std::size(kVariables), kFirstVariableId);
}

uint32_t MDN_THISCALL UnitId(traffic::TrafficInterface*, const char* name) {
    fake::Log("UnitId", name);
    return IdOf(name, kUnits, std::size(kUnits), kFirstUnitId);
}

int32_t MDN_THISCALL AircraftInRadius(traffic::TrafficInterface*, double radius, int32_t largest,
                                      uint32_t* ids) {
    fake::Log("AircraftInRadius", radius, largest);
    const size_t n = std::min<size_t>(current->aircraft.size(), largest < 0 ? 0 : largest);
    for (size_t i = 0; i < n; ++i)
        ids[i] = current->aircraft[i].id;
    return current->override_count ? current->count_answer : static_cast<int32_t>(n);
}

int32_t MDN_THISCALL ReadNumber(traffic::TrafficInterface*, uint32_t id, uint32_t variable,
                                uint32_t unit, double* value, int32_t index) {
    const std::string name = ScriptedTraffic::VariableName(variable);
    fake::Log("ReadNumber", fake::Hex(id), name, ScriptedTraffic::UnitName(unit), index);
    const ScriptedAircraft* a = current->Find(id);
    if (a == nullptr || a->failing.count(name))
        return 0;
    if (name == "PLANE LATITUDE")
        *value = a->latitude;
    else if (name == "PLANE LONGITUDE")
        *value = a->longitude;
    else if (name == "PLANE HEADING DEGREES TRUE")
        *value = a->heading;
    else if (name == "PLANE ALTITUDE")
        *value = a->plane_altitude;
    else if (name == "INDICATED ALTITUDE")
        *value = a->indicated_altitude;
    else if (name == "GROUND VELOCITY")
        *value = a->ground_speed;
    else if (name == "VELOCITY WORLD Y")
        *value = a->vertical_speed;
    else if (name == "ENG COMBUSTION")
        *value = a->combustion;
    else
        return 0;
    return 1;
}

int32_t MDN_THISCALL ReadText(traffic::TrafficInterface*, uint32_t id, uint32_t variable,
                              char* text, int32_t size, int32_t index) {
    const std::string name = ScriptedTraffic::VariableName(variable);
    fake::Log("ReadText", fake::Hex(id), name, size, index);
    const ScriptedAircraft* a = current->Find(id);
    if (a == nullptr || a->failing.count(name) || name != "ATC ID" || size <= 0)
        return 0;
    std::memcpy(text, a->atc_id.c_str(), std::min<size_t>(size, a->atc_id.size() + 1));
    return 1;
}

uint32_t MDN_THISCALL Mode(traffic::TrafficInterface*) {
    const uint32_t mode = current->NextMode();
    fake::Log("Mode", mode);
    return mode;
}

const char* MDN_THISCALL AircraftName(traffic::TrafficInterface*, uint32_t id) {
    fake::Log("AircraftName", fake::Hex(id));
    const ScriptedAircraft* a = current->Find(id);
    return a == nullptr || current->null_names ? nullptr : a->name.c_str();
}

const traffic::RegisteredObjectTable kRegisteredTable = {{}, &QueryInterface};
const traffic::TrafficInterfaceTable kInterfaceTable = {
    {},        &VariableId, &UnitId, &AircraftInRadius, nullptr, &ReadNumber,
    &ReadText, nullptr,     &Mode,   &AircraftName,
};
Registered registered_instance{&kRegisteredTable};
Interface interface_instance{&kInterfaceTable};

}  // namespace

void ScriptedTraffic::Install() {
    current = this;
    registered_object = reinterpret_cast<traffic::RegisteredObject*>(&registered_instance);
    traffic_interface = reinterpret_cast<traffic::TrafficInterface*>(&interface_instance);
    panels_[runtime::kPanelsVariableLookup] = reinterpret_cast<void*>(&LookupPanelVariable);
    panels_[runtime::kPanelsRegisteredObject] = reinterpret_cast<void*>(&FindRegisteredObject);
    ImportTable[0].table = panels_;
}

ScriptedTraffic::~ScriptedTraffic() {
    if (current != this)
        return;
    if (ImportTable[0].table == panels_)
        ImportTable[0].table = nullptr;
    current = nullptr;
}

std::string ScriptedTraffic::VariableName(uint32_t id) {
    const uint32_t i = id - kFirstVariableId;
    return i < std::size(kVariables) ? kVariables[i] : "?" + std::to_string(id);
}

std::string ScriptedTraffic::UnitName(uint32_t id) {
    const uint32_t i = id - kFirstUnitId;
    return i < std::size(kUnits) ? kUnits[i] : "?" + std::to_string(id);
}

const ScriptedAircraft* ScriptedTraffic::Find(uint32_t id) const {
    for (const auto& a : aircraft) {
        if (a.id == id)
            return &a;
    }
    return nullptr;
}

uint32_t ScriptedTraffic::NextMode() {
    const size_t i = std::min(mode_calls++, modes.size() - 1);
    return modes[i];
}

}  // namespace test
