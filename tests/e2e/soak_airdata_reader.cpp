// Reads the air-data block from a process of its own, as fast as it can, for as long as the
// simulator publishes it: soak_airdata_reader [SECONDS]. It waits for the module to make the
// region, then copies the 384 bytes over and over. Every copy must be well-formed (the two
// leading words 0, reserved bytes untouched, every number finite) whatever moment of the
// writer's cycle it catches, also after the writer was terminated at unload; the reader ends
// once the block has stood still for two seconds after it had been moving.
// Exit code: the number of failed checks.
#include <windows.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "mdnsrv.h"

namespace {

int failures = 0;
// Changes that show the writer running: its slowed cycle takes a few hundred milliseconds at
// worst on a loaded machine.
constexpr unsigned long kSeenRunning = 5;

void Check(bool ok, const char* what, unsigned long got) {
    std::printf("%s reader: %s: %lu\n", ok ? "ok  " : "FAIL", what, got);
    if (!ok)
        ++failures;
}

struct Range {
    size_t offset, size;
};
const Range kReserved[] = {{116, 4}, {172, 4}, {180, 24}, {212, 104}, {380, 4}};

bool WellFormed(const MdnAirDataBlock& b) {
    if (b.word0 != 0 || b.word1 != 0)
        return false;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&b);
    for (const Range& r : kReserved) {
        for (size_t i = r.offset; i < r.offset + r.size; ++i) {
            if (bytes[i] != 0)
                return false;
        }
    }
    const double* doubles = &b.timeOfDay;  // 8 to 111: thirteen doubles
    for (int i = 0; i < 13; ++i) {
        if (!std::isfinite(doubles[i]))
            return false;
    }
    for (size_t offset = 120; offset < 380; offset += 4) {
        if (offset == 148 || (offset >= 172 && offset < 176) || (offset >= 180 && offset < 204) ||
            (offset >= 212 && offset < 316)) {
            continue;  // an integer or reserved
        }
        float value;
        std::memcpy(&value, bytes + offset, sizeof value);
        if (!std::isfinite(value))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const DWORD limit = (argc > 1 ? std::atoi(argv[1]) : 60) * 1000;
    const DWORD start = GetTickCount();
    HANDLE mapping = nullptr;
    while (mapping == nullptr && GetTickCount() - start < limit) {
        mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, MDN_AIRDATA_NAME);
        if (mapping == nullptr)
            Sleep(20);
    }
    if (mapping == nullptr) {
        Check(false, "the module's block appeared (ms waited)", GetTickCount() - start);
        return failures;
    }
    const auto* view = static_cast<const volatile uint8_t*>(
        MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, MDN_AIRDATA_SIZE));
    if (view == nullptr) {
        Check(false, "the block maps", GetLastError());
        return failures;
    }

    MdnAirDataBlock previous{}, now{};
    unsigned long reads = 0, changes = 0, malformed = 0, reads_after_last_change = 0;
    DWORD first_change = 0, last_change = 0;
    for (;;) {
        auto* copy = reinterpret_cast<uint8_t*>(&now);
        for (size_t i = 0; i < MDN_AIRDATA_SIZE; ++i)
            copy[i] = view[i];
        ++reads;
        malformed += !WellFormed(now);
        const DWORD time = GetTickCount();
        if (std::memcmp(&now, &previous, sizeof now) != 0) {
            if (changes++ == 0)
                first_change = time;
            last_change = time;
            reads_after_last_change = 0;
            previous = now;
        } else {
            ++reads_after_last_change;
        }
        if (changes > kSeenRunning && time - last_change > 2000)
            break;  // the writer is gone
        if (time - start > limit)
            break;
        if (reads % 64 == 0)
            Sleep(0);
    }
    const DWORD active = last_change - first_change;
    std::printf(
        "reader: %lu reads of the block, %lu changes over %lu ms (%.1f a second), "
        "%lu reads after the last change\n",
        reads, changes, static_cast<unsigned long>(active),
        active ? changes * 1000.0 / active : 0.0, reads_after_last_change);
    Check(changes > kSeenRunning, "the block changed while the worker ran (changes)", changes);
    Check(malformed == 0, "reads that were not well-formed", malformed);
    Check(reads_after_last_change > 1000, "reads after the writer stopped",
          reads_after_last_change);
    Check(GetTickCount() - start <= limit, "the writer stopped within the time limit (ms)",
          GetTickCount() - start);
    UnmapViewOfFile(const_cast<uint8_t*>(view));
    CloseHandle(mapping);
    return failures;
}
