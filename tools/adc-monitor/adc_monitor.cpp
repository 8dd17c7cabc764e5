// adc-monitor: opens the air-data block that MdnSrv.dll publishes inside the simulator and
// shows every quantity with its name and unit, refreshed four times a second, from a process
// of its own. With --once it prints one reading and exits.
//
// Exit status: 0 after a reading, 1 for a wrong command line, 2 when the block does not exist
// (the simulator is not running, or the module is not loaded in it), 3 when it cannot be read.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "block_fields.h"
#include "mdnsrv.h"

namespace {

constexpr DWORD kRefreshMilliseconds = 250;

void Usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: adc-monitor [--once]\n"
                 "Shows the air-data block of the Meridane service module (MdnSrv.dll) while the\n"
                 "simulator runs. --once prints one reading and exits; otherwise the reading is\n"
                 "refreshed four times a second until Ctrl+C.\n");
}

void PrintHeader(std::FILE* out) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::fprintf(out, "Air-data block %s, %d bytes, read at %02u:%02u:%02u.%03u\n\n",
                 MDN_AIRDATA_NAME, MDN_AIRDATA_SIZE, now.wHour, now.wMinute, now.wSecond,
                 now.wMilliseconds);
}

void PrintNotes(bool all_zero, std::FILE* out) {
    std::fprintf(out, "\n%s\n",
                 all_zero ? "All fields are zero: the air-data computer has not been started yet "
                            "(the key bound to MDN_ADC_START starts it)."
                          : "Fields are refreshed about thirty times a second by the simulator.");
}

}  // namespace

int main(int argc, char** argv) {
    bool once = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--once") == 0) {
            once = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            Usage(stdout);
            return 0;
        } else {
            std::fprintf(stderr, "adc-monitor: unknown argument \"%s\"\n", argv[i]);
            Usage(stderr);
            return 1;
        }
    }

    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, MDN_AIRDATA_NAME);
    if (mapping == nullptr) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            std::fprintf(stderr,
                         "adc-monitor: the air-data block does not exist.\n"
                         "The simulator is not running, or MdnSrv.dll is not loaded in it.\n");
            return 2;
        }
        std::fprintf(stderr, "adc-monitor: the air-data block cannot be opened (error %lu).\n",
                     static_cast<unsigned long>(error));
        return 3;
    }
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, MDN_AIRDATA_SIZE);
    if (view == nullptr) {
        std::fprintf(stderr, "adc-monitor: the air-data block cannot be read (error %lu).\n",
                     static_cast<unsigned long>(GetLastError()));
        CloseHandle(mapping);
        return 3;
    }
    const auto* bytes = static_cast<const volatile unsigned char*>(view);

    // On a console each reading overwrites the last; elsewhere readings follow one another.
    HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO info;
    const bool on_console = !once && GetConsoleScreenBufferInfo(console, &info) != 0;
    for (;;) {
        if (on_console)
            SetConsoleCursorPosition(console, info.dwCursorPosition);
        PrintHeader(stdout);
        const bool all_zero = monitor::PrintReading(bytes, stdout);
        PrintNotes(all_zero, stdout);
        std::fflush(stdout);
        if (once)
            break;
        Sleep(kRefreshMilliseconds);
        if (!on_console)
            std::fputc('\n', stdout);
    }
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    return 0;
}
