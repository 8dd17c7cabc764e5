// The three module-wide thread objects and the instances their loops run on.
#include "host/workers.h"

#include <optional>

namespace host {
namespace {

MDNADC air_data;
MDNFSApMgr autopilot_source;
MDNFSGpsInfoMgr gps_info;

std::optional<Thread::TThread<MDNADC>> air_data_thread;
std::optional<Thread::TThread<MDNFSApMgr>> autopilot_source_thread;
std::optional<Thread::TThread<MDNFSGpsInfoMgr>> gps_info_thread;

}  // namespace

Thread::TThread<MDNADC>& AirDataThread() {
    return *air_data_thread;
}
Thread::TThread<MDNFSApMgr>& AutopilotSourceThread() {
    return *autopilot_source_thread;
}
Thread::TThread<MDNFSGpsInfoMgr>& GpsInfoThread() {
    return *gps_info_thread;
}

void CreateThreadObjects() {
    air_data_thread.emplace(&air_data, &MDNADC::Pass, MDNADC::kPeriodMs);
    autopilot_source_thread.emplace(&autopilot_source, &MDNFSApMgr::Pass, MDNFSApMgr::kPeriodMs);
    gps_info_thread.emplace(&gps_info, &MDNFSGpsInfoMgr::Pass, MDNFSGpsInfoMgr::kPeriodMs);
}

void DestroyThreadObjects() {
    gps_info_thread.reset();
    autopilot_source_thread.reset();
    air_data_thread.reset();
}

}  // namespace host
