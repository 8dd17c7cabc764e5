// AI traffic through slot 23 from the stand-in TrafficInfo.DLL: mode 1 with SELF and the own
// aircraft and navigation aids left out, mode 0 with the combustion test, the 250 ms cache, and
// the dump appended by the own command. Setting traffic=missing: run without TrafficInfo.DLL.
#include <string>

#include "e2e_support.h"
#include "flight_script.h"
#include "mdnsrv.h"
#include "sim_traffic.h"

namespace {

constexpr char kDumpFile[] = "C:\\dbgFsAiTfc.txt";

struct TrafficList {
    MdnTrafficRecord records[MDN_TRAFFIC_MAX];
    uint32_t count = 0;

    std::string Ids() const {
        std::string ids;
        for (uint32_t i = 0; i < count && i < MDN_TRAFFIC_MAX; ++i) {
            char id[16];
            std::snprintf(id, sizeof id, "%s%04lX", i ? " " : "",
                          static_cast<unsigned long>(records[i].id));
            ids += id;
        }
        return ids;
    }
    const MdnTrafficRecord* Find(uint32_t id) const {
        for (uint32_t i = 0; i < count && i < MDN_TRAFFIC_MAX; ++i) {
            if (records[i].id == id)
                return &records[i];
        }
        return nullptr;
    }
};

class TrafficRun {
  public:
    TrafficRun(const SimDriver* d, const MdnOperationTable* t) : d_(d), t_(t) {}

    void Take(TrafficList* list) { list->count = t_->GetTrafficList(list->records); }

    void SetMode(uint32_t mode) {
        auto set = reinterpret_cast<SimSetTrafficModeFn>(
            d_->StandInExport("TrafficInfo.DLL", "SetTrafficMode"));
        d_->Check(set != nullptr, "TrafficInfo.DLL exports SetTrafficMode", "found",
                  set ? "found" : "missing");
        if (set)
            set(mode);
        d_->Pump(300);  // past the module's cache
    }

    void Text(const char* what, const char* expected, const char* got) {
        char field[17] = {};
        std::memcpy(field, got, 16);
        SimCheckText(d_, what, expected, field);
    }

    void Mode1() {
        SetMode(1);
        TrafficList list;
        // The own aircraft is left out because its position equals SELF's; should the flight
        // move between the two reads it shows with a different position, so try again.
        for (int attempt = 0; attempt < 5; ++attempt) {
            Take(&list);
            const MdnTrafficRecord* own = list.Find(SIM_TRAFFIC_OWN_ID);
            if (own == nullptr)
                break;
            const bool moved = own->latitude != list.records[0].latitude ||
                               own->longitude != list.records[0].longitude;
            d_->Check(moved, "own aircraft listed only when it moved since SELF", "moved",
                      moved ? "moved" : "same place");
            d_->Pump(300);
        }
        SimCheckText(d_, "mode 1 records", "0000 1A2B 0003 0004", list.Ids().c_str());
        if (list.count != 4)
            return;

        const MdnTrafficRecord& self = list.records[0];
        const sim::FlightState flight = sim::FlightNow();
        SimCheckU32(d_, "SELF mode", 1, self.mode);
        SimCheckNear(d_, "SELF latitude", flight.latitude, self.latitude, 0.01);
        SimCheckNear(d_, "SELF longitude", flight.longitude, self.longitude, 0.01);
        SimCheckNear(d_, "SELF altitude (feet)", flight.altitude_ft, self.altitude, 20.0);
        SimCheckNear(d_, "SELF heading", 0.0, self.heading, 0.0);
        SimCheckNear(d_, "SELF combustion", 1.0, self.combustion, 0.0);
        Text("SELF name", "SELF", self.name);

        const MdnTrafficRecord& r = list.records[1];
        SimCheckU32(d_, "mode 1 record mode", 1, r.mode);
        SimCheckNear(d_, "mode 1 latitude", 45.5, r.latitude, 0.0);
        SimCheckNear(d_, "mode 1 longitude", 90.25, r.longitude, 0.0);
        SimCheckNear(d_, "mode 1 heading", 270.0, r.heading, 0.0);
        SimCheckNear(d_, "mode 1 altitude (plane altitude)", 5500.0, r.altitude, 0.0);
        SimCheckNear(d_, "mode 1 ground speed", 0.0, r.ground_speed, 0.0);
        SimCheckNear(d_, "mode 1 combustion", 0.0, r.combustion, 0.0);
        Text("mode 1 name", "Skyliner 300", r.name);
        Text("mode 1 long name cut to 15", "Widebody 900 Ai", list.records[3].name);
    }

    void Mode0() {
        SetMode(0);
        TrafficList list;
        Take(&list);
        SimCheckText(d_, "mode 0 records", "1A2B 0001 0004", list.Ids().c_str());
        if (list.count != 3)
            return;
        const MdnTrafficRecord& r = list.records[0];
        SimCheckU32(d_, "mode 0 record mode", 0, r.mode);
        SimCheckNear(d_, "mode 0 altitude (indicated)", 5480.0, r.altitude, 0.0);
        SimCheckNear(d_, "mode 0 ground speed", 180.0, r.ground_speed, 0.0);
        SimCheckNear(d_, "mode 0 vertical speed", -700.0, r.vertical_speed, 0.0);
        SimCheckNear(d_, "mode 0 combustion", 1.0, r.combustion, 0.0);
        Text("mode 0 name (ATC ID)", "N123AB", r.name);

        // Within 250 ms the copy comes from the snapshot, whatever the traffic module says.
        auto set = reinterpret_cast<SimSetTrafficModeFn>(
            d_->StandInExport("TrafficInfo.DLL", "SetTrafficMode"));
        if (set == nullptr)
            return;
        set(1);
        Take(&list);
        SimCheckText(d_, "records within 250 ms (cached)", "1A2B 0001 0004", list.Ids().c_str());
        d_->Pump(300);
        Take(&list);
        SimCheckHex(d_, "first record after 250 ms (refreshed: SELF)", 0,
                    list.count ? list.records[0].id : 0xFFFFFFFFu);
    }

    // The dump runs as the own command "MDN_DUMP_TFC", bound in the settings file this run's
    // simulator folder carries; without the keyboard service there is no way to reach it.
    void Dump() {
        if (t_->FindKeyCommand("MDN_DUMP_TFC") == 0) {
            d_->Log("skipped: the dump check (MDN_DUMP_TFC is not bound in this build)");
            return;
        }
        SetMode(0);
        DeleteFileA(kDumpFile);
        d_->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F11);
        d_->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F11);
        d_->Pump(200);
        std::string text;
        if (FILE* f = std::fopen(kDumpFile, "rb")) {
            char buffer[4096];
            const size_t n = std::fread(buffer, 1, sizeof buffer, f);
            text.assign(buffer, n);
            std::fclose(f);
        }
        const std::string header = "--- 3 aircrafts in 0 0 time ----------------------\r\n";
        const std::string first = "00001A2B: 90.2500 45.5000 5480.00 N123AB\r\n";
        const std::string last = "00000004: 91.0000 44.5000 30950.00 DAL1234\r\n\r\n\r\n";
        const size_t block = text.find(last);
        d_->Check(text.compare(0, header.size() + first.size(), header + first) == 0 &&
                      text.find("\r\n00000001: ") != std::string::npos &&
                      block != std::string::npos &&
                      text.find(header, block) == block + last.size() &&
                      text.size() == 2 * (block + last.size()),
                  "two dump blocks in C:\\dbgFsAiTfc.txt", (header + first + "...").c_str(),
                  text.c_str());
    }

    void Missing() {
        TrafficList list;
        Take(&list);
        SimCheckU32(d_, "records without TrafficInfo.DLL", 0, list.count);
        SimCheckU32(d_, "message boxes after the first call", 1, d_->BoxCount());
        SimBox box{};
        if (d_->GetBox(0, &box)) {
            SimCheckText(d_, "box caption", "Error", box.caption);
            SimCheckText(d_, "box text", "Meridane Traffic: Unable to find registered callback",
                         box.text);
            SimCheckU32(d_, "box owned by the simulator window", 1, box.owned_by_main);
        }
        d_->Pump(300);
        Take(&list);
        SimCheckU32(d_, "records on the next call", 0, list.count);
        SimCheckU32(d_, "message boxes after the next call", 1, d_->BoxCount());
    }

  private:
    const SimDriver* d_;
    const MdnOperationTable* t_;
};

}  // namespace

SIM_GAUGE_ENTRY {
    const auto* service = reinterpret_cast<const MdnServiceObject*>(
        GetProcAddress(static_cast<HMODULE>(driver->module), MDN_SERVICE_SYMBOL));
    if (service == nullptr || service->table == nullptr) {
        driver->Check(0, "service object", "found", "missing");
        return 1;
    }
    TrafficRun run(driver, service->table);
    if (std::strcmp(e2e::SettingOr(driver, "traffic", "present"), "missing") == 0) {
        run.Missing();
        return 0;
    }
    SimCheckU32(driver, "null array", 0, service->table->GetTrafficList(nullptr));
    run.Mode1();
    run.Mode0();
    run.Dump();
    SimCheckU32(driver, "message boxes", 0, driver->BoxCount());
    return 0;
}
