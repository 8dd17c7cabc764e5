// The traffic dump: one block appended to a fixed text file per "MDN_DUMP_TFC".
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/files.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "runtime/owners.h"
#include "runtime/escape_text.h"
#include "traffic/traffic.h"
#include "traffic/traffic_state.h"
#include "runtime/diag_log.h"

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
            // A mode-0 name may fill its field without a terminator: never read past it. The
            // name comes from the simulator's traffic: escaped, so one aircraft is one line.
            char name[runtime::EscapedSize(sizeof r.name)];
            runtime::EscapeText(name, sizeof name, r.name, sizeof r.name, SIZE_MAX, false);
            std::fprintf(file, "%08X: %.4f %.4f %.2f %s\n", static_cast<unsigned>(r.id),
                         r.longitude, r.latitude, r.altitude, name);
        }
    }
    std::fputs("\n\n", file);
}

}  // namespace

void DumpTrafficCommand() {
    // Not throttled, and the gauges' cache time stays as it is.
    Refresh();
    if (runtime::UniqueFile file{platform::OpenTextFile(kDumpPath, "a")}) {
        WriteDump(file.get());
        MDN_LOG("traffic dump: %u aircraft %s %s", static_cast<unsigned>(State().record_count),
                std::ferror(file.get()) ? "but writing failed for" : "appended to", kDumpPath);
    } else {
        MDN_LOG("traffic dump not written: %s could not be opened (error %lu)", kDumpPath,
                static_cast<unsigned long>(platform::GetLastError()));
    }
    platform::MessageBeep(0);
}

}  // namespace traffic
