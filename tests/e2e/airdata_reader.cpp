// A reader that makes the air-data block before the simulator starts: airdata_reader READY
// [SECONDS]. It creates the region, fills all 384 bytes with 0xA5, creates the file READY
// and waits until the module publishes into this very region; then the published fields
// must hold the scripted values and every reserved byte must still be 0xA5.
// Exit code: the number of failed checks.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "mdnsrv.h"
#include "sim_paths.h"

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
    std::printf("%s reader: %s\n", ok ? "ok" : "FAIL", what);
    if (!ok)
        ++failures;
}

bool Untouched(const volatile uint8_t* bytes, size_t offset, size_t size) {
    for (size_t i = offset; i < offset + size; ++i) {
        if (bytes[i] != 0xA5)
            return false;
    }
    return true;
}

template <class T>
T Load(const volatile uint8_t* bytes, size_t offset) {
    T value;
    uint8_t copy[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i)
        copy[i] = bytes[offset + i];
    std::memcpy(&value, copy, sizeof value);
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: airdata_reader READY [SECONDS]\n");
        return 100;
    }
    const DWORD limit_ms = (argc > 2 ? std::atoi(argv[2]) : 60) * 1000;

    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        MDN_AIRDATA_SIZE, MDN_AIRDATA_NAME);
    Check(mapping != nullptr && GetLastError() != ERROR_ALREADY_EXISTS,
          "the region is made by the reader, before the module");
    if (mapping == nullptr)
        return failures;
    auto* bytes = static_cast<volatile uint8_t*>(
        MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, MDN_AIRDATA_SIZE));
    Check(bytes != nullptr, "the region is mapped");
    if (bytes == nullptr)
        return failures;
    for (size_t i = 0; i < MDN_AIRDATA_SIZE; ++i)
        bytes[i] = 0xA5;

    const std::string ready = sim::WindowsPath(argv[1]);
    HANDLE file = CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    Check(file != INVALID_HANDLE_VALUE, "the ready file is written");
    CloseHandle(file);

    const DWORD start = GetTickCount();
    bool published = false;
    while (GetTickCount() - start < limit_ms) {
        if (Load<uint32_t>(bytes, offsetof(MdnAirDataBlock, word0)) == 0 &&
            Load<float>(bytes, offsetof(MdnAirDataBlock, g1Constant)) == 18.0f) {
            published = true;
            break;
        }
        Sleep(20);
    }
    Check(published, "the module publishes into the region the reader made");
    if (published) {
        Sleep(300);  // some more cycles
        Check(std::fabs(Load<float>(bytes, offsetof(MdnAirDataBlock, frequency23)) - 122.275f) <
                  1e-4f,
              "frequency23 is 122.275 MHz");
        Check(Load<double>(bytes, offsetof(MdnAirDataBlock, value552)) == 200.0 * 0.3048,
              "value552 is 60.96");
        Check(Untouched(bytes, 116, 4) && Untouched(bytes, 172, 4) && Untouched(bytes, 180, 24) &&
                  Untouched(bytes, 212, 104) && Untouched(bytes, 380, 4),
              "the reserved bytes keep the reader's 0xA5");
    }
    UnmapViewOfFile(const_cast<uint8_t*>(bytes));
    CloseHandle(mapping);
    return failures;
}
