// Plays the module and a reader for the network figures, with a clock both share:
//   block_probe write SECONDS   makes the air-data block and writes a new count into its
//                               timeOfDay field 30 times a second, as the module would
//   block_probe watch SECONDS   waits for the block (a mirror makes it) and reports each
//                               count it sees change
// Each event is one line, "w COUNT MICROSECONDS" or "r COUNT MICROSECONDS", on the
// performance counter, which Wine takes from the host's monotonic clock in every prefix.
#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "mdnsrv.h"

namespace {

LARGE_INTEGER g_frequency;

double Microseconds() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(g_frequency.QuadPart);
}

volatile double* TimeOfDay(void* view) {
    return reinterpret_cast<volatile double*>(static_cast<unsigned char*>(view) +
                                              offsetof(MdnAirDataBlock, timeOfDay));
}

int Write(double seconds) {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        MDN_AIRDATA_SIZE, MDN_AIRDATA_NAME);
    void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr;
    if (view == nullptr) {
        std::printf("error cannot make the block (%lu)\n", GetLastError());
        return 1;
    }
    const double start = Microseconds();
    for (unsigned count = 1; Microseconds() - start < seconds * 1e6; ++count) {
        const double due = start + count * (1e6 / 30.0);
        while (Microseconds() < due)
            Sleep(1);
        *TimeOfDay(view) = count;
        std::printf("w %u %.1f\n", count, Microseconds());
        std::fflush(stdout);
    }
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    return 0;
}

int Watch(double seconds) {
    const double start = Microseconds();
    HANDLE mapping = nullptr;
    while (mapping == nullptr && Microseconds() - start < seconds * 1e6) {
        mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, MDN_AIRDATA_NAME);
        if (mapping == nullptr)
            Sleep(10);
    }
    void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    if (view == nullptr) {
        std::printf("error no block to watch\n");
        return 1;
    }
    double last = *TimeOfDay(view);
    while (Microseconds() - start < seconds * 1e6) {
        const double now = *TimeOfDay(view);
        if (now != last) {
            last = now;
            std::printf("r %.0f %.1f\n", now, Microseconds());
            std::fflush(stdout);
        }
        Sleep(1);
    }
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QueryPerformanceFrequency(&g_frequency);
    const double seconds = argc > 2 ? std::atof(argv[2]) : 0.0;
    if (argc > 2 && std::strcmp(argv[1], "write") == 0 && seconds > 0)
        return Write(seconds);
    if (argc > 2 && std::strcmp(argv[1], "watch") == 0 && seconds > 0)
        return Watch(seconds);
    std::printf("usage: block_probe write|watch SECONDS\n");
    return 2;
}
