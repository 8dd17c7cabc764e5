// A freshly loaded module with the scripted traffic module in place of the simulator's.
#pragma once
#include <cmath>
#include <string>
#include <vector>

#include "scripted_traffic.h"
#include "support/module_fixture.h"
#include "traffic/traffic.h"
#include "traffic/traffic_state.h"

namespace test {

class TrafficTest : public FreshModule {
  protected:
    void SetUp() override {
        FreshModule::SetUp();
        sim.Install();
        fake::SetTime(10000);  // well past the cache time of a module loaded at 0
        fake::ClearCalls();
    }

    // GetTrafficList into a full-size array.
    std::vector<MdnTrafficRecord> List() {
        std::vector<MdnTrafficRecord> out(MDN_TRAFFIC_MAX);
        const uint32_t n = traffic::GetTrafficList(out.data());
        out.resize(std::min<uint32_t>(n, MDN_TRAFFIC_MAX));
        return out;
    }

    static std::vector<uint32_t> Ids(const std::vector<MdnTrafficRecord>& records) {
        std::vector<uint32_t> ids;
        for (const auto& r : records)
            ids.push_back(r.id);
        return ids;
    }

    // An aircraft that every mode accepts.
    static ScriptedAircraft Plane(uint32_t id, const std::string& name = "") {
        ScriptedAircraft a;
        a.id = id;
        a.latitude = 47.0 + id * 0.001;
        a.longitude = 8.0 + id * 0.001;
        a.heading = 90.0 + id;
        a.plane_altitude = 3000.0 + id;
        a.indicated_altitude = 2990.0 + id;
        a.ground_speed = 120.0 + id;
        a.vertical_speed = -500.0 + id;
        a.combustion = 1.0;
        a.name = name.empty() ? "AI" + std::to_string(id) : name;
        a.atc_id = "N" + std::to_string(id);
        return a;
    }

    ScriptedTraffic sim;
};

}  // namespace test
