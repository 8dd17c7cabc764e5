// A scripted traffic module for the provider's tests: the panels function table (the
// registered-object and panel-variable entries), the registered callback object and an
// ITrafficInfo object with real member-call functions, answering from a list of aircraft.
// Every call lands in the fake call log, so tests compare sequences with test::SameCalls.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "traffic/traffic_state.h"

namespace test {

struct ScriptedAircraft {
    uint32_t id = 0;
    double latitude = 0.0;
    double longitude = 0.0;
    double heading = 0.0;
    double plane_altitude = 0.0;
    double indicated_altitude = 0.0;
    double ground_speed = 0.0;
    double vertical_speed = 0.0;
    double combustion = 1.0;
    std::string atc_id;  // written up to the buffer size: 16 characters or more end unterminated
    std::string name;    // the mode-1 name
    std::set<std::string> failing;  // variable names whose reads fail
};

class ScriptedTraffic {
  public:
    // Puts the panels table into ImportTable; call after the module is loaded.
    void Install();
    ~ScriptedTraffic();

    std::vector<ScriptedAircraft> aircraft;
    // Answers of successive mode calls; the last one repeats.
    std::vector<uint32_t> modes{0};
    // Overrides the count the aircraft query returns (the ids written stay within the ask).
    bool override_count = false;
    int32_t count_answer = 0;
    bool registered = true;           // the panels table finds the callback object
    bool interface_available = true;  // the callback object answers the interface
    bool null_names = false;          // the mode-1 name query answers null
    double token71 = 0.0, token72 = 0.0, token829 = 0.0;

    // Text of the variable and unit a registered id stands for.
    static std::string VariableName(uint32_t id);
    static std::string UnitName(uint32_t id);

    // Not for tests: the member-call functions find their script through these.
    const ScriptedAircraft* Find(uint32_t id) const;
    uint32_t NextMode();
    size_t mode_calls = 0;
    traffic::RegisteredObject* registered_object = nullptr;
    traffic::TrafficInterface* traffic_interface = nullptr;

  private:
    void* panels_[80] = {};
};

}  // namespace test
