// The traffic dump: one block appended to a fixed text file per "MDN_DUMP_TFC".
#include <cstdio>

#include "platform/files.h"
#include "platform/user.h"
#include "runtime/owners.h"
#include "traffic/traffic.h"
#include "traffic/traffic_state.h"

namespace traffic {
namespace {

constexpr char kDumpPath[] = "C:\\dbgFsAiTfc.txt";
constexpr char kMissingModule[] =
    "Meridane Service Module failed to init AI Traffic. Missing FS Module: TrafficInfo.DLL\n";

// Writes one block and closes the file.
void WriteDump(FILE* file) {
    const TrafficState& s = State();
    if (s.traffic_interface == nullptr) {
        std::fputs(kMissingModule, file);
    } else {
        std::fprintf(file, "--- %d aircrafts in %d %d time ----------------------\n",
                     static_cast<int>(s.record_count), static_cast<int>(s.counters[0]),
                     static_cast<int>(s.counters[1]));
        for (uint32_t i = 0; i < s.record_count && i < kMaxRecords; ++i) {
            const MdnTrafficRecord& r = s.records[i];
            // A mode-0 name may fill its field without a terminator: never read past it.
            std::fprintf(file, "%08X: %.4f %.4f %.2f %.*s\n", static_cast<unsigned>(r.id),
                         r.longitude, r.latitude, r.altitude, static_cast<int>(sizeof r.name),
                         r.name);
        }
    }
    std::fputs("\n\n", file);
}

}  // namespace

void DumpTrafficCommand() {
    // Not throttled, and the gauges' cache time stays as it is.
    Refresh();
    if (runtime::UniqueFile file{platform::OpenTextFile(kDumpPath, "a")})
        WriteDump(file.get());
    platform::MessageBeep(0);
}

}  // namespace traffic
