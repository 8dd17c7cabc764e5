// The air-data block as the bridge tests need it, in one Wine prefix:
//   bridge_block write SEED SECONDS [--moving]   makes the block and fills every byte, fields
//       and reserved ones, from SEED (distinct per byte, so a shifted or crossed copy shows);
//       --moving advances timeOfDay every 33 ms as the air-data computer does. It holds the
//       block for SECONDS, then lets go as a closing simulator does.
//   bridge_block dump   prints the block's 384 bytes in hex; exit code 2 when it is absent.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "mdnsrv.h"

namespace {

int Write(unsigned seed, unsigned seconds, bool moving) {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        MDN_AIRDATA_SIZE, MDN_AIRDATA_NAME);
    if (mapping == nullptr)
        return 3;
    auto* bytes = static_cast<volatile uint8_t*>(
        MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, MDN_AIRDATA_SIZE));
    if (bytes == nullptr)
        return 3;
    for (size_t i = 0; i < MDN_AIRDATA_SIZE; ++i)
        bytes[i] = static_cast<uint8_t>(seed * 31 + i * 7 + 1);
    // Plausible numbers where adc-monitor prints them, so its text shows whole values too.
    auto put = [&](size_t offset, double value) {
        std::memcpy(const_cast<uint8_t*>(bytes) + offset, &value, sizeof value);
    };
    auto put_single = [&](size_t offset, float value) {
        std::memcpy(const_cast<uint8_t*>(bytes) + offset, &value, sizeof value);
    };
    put(offsetof(MdnAirDataBlock, timeOfDay), 3600.0 * seed + 0.25);
    put(offsetof(MdnAirDataBlock, altitude), 1000.0 * seed + 0.1);
    put_single(offsetof(MdnAirDataBlock, aircraftVar25), 100.0f + static_cast<float>(seed) / 3);
    put_single(offsetof(MdnAirDataBlock, frequency23), 108.0f + static_cast<float>(seed) * 0.05f);
    std::printf("block written from seed %u\n", seed);
    std::fflush(stdout);
    const DWORD end = GetTickCount() + seconds * 1000;
    double time = 3600.0 * seed + 0.25;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        Sleep(33);
        if (moving) {
            time += 0.033;
            put(offsetof(MdnAirDataBlock, timeOfDay), time);
        }
    }
    UnmapViewOfFile(const_cast<uint8_t*>(bytes));
    CloseHandle(mapping);
    return 0;
}

int Dump() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, MDN_AIRDATA_NAME);
    if (mapping == nullptr) {
        std::printf("no block\n");
        return 2;
    }
    const auto* bytes =
        static_cast<const uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, MDN_AIRDATA_SIZE));
    if (bytes == nullptr)
        return 3;
    for (size_t i = 0; i < MDN_AIRDATA_SIZE; ++i)
        std::printf("%02x%s", bytes[i], i % 32 == 31 ? "\n" : "");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "write") == 0)
        return Write(static_cast<unsigned>(std::atoi(argv[2])),
                     static_cast<unsigned>(std::atoi(argv[3])),
                     argc > 4 && std::strcmp(argv[4], "--moving") == 0);
    if (argc == 2 && std::strcmp(argv[1], "dump") == 0)
        return Dump();
    std::fprintf(stderr, "usage: bridge_block write SEED SECONDS [--moving] | dump\n");
    return 100;
}
