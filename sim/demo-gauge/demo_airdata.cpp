// Air data: the module's own command MDN_ADC_START starts the air-data computer; the block
// is then read here and, from a second process, by the monitor tool.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "demo.h"

namespace demo {
namespace {

constexpr double kDegrees = 57.29577951308232;

void ReadHere(const Context& c) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, MDN_AIRDATA_NAME);
    const void* view =
        mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, MDN_AIRDATA_SIZE) : nullptr;
    if (view == nullptr) {
        Report(c, "air data: the block %s cannot be opened", MDN_AIRDATA_NAME);
        if (mapping)
            CloseHandle(mapping);
        return;
    }
    MdnAirDataBlock block;
    std::memcpy(&block, view, sizeof block);
    Report(c,
           "air data: time of day %.0f s, position %.5f %.5f, %.0f ft (%.0f ft above ground), "
           "COM %.3f MHz, NAV %.3f MHz",
           block.timeOfDay, block.latitude * kDegrees, block.longitude * kDegrees, block.altitude,
           block.heightAboveGround, block.frequency23, block.frequency870);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
}

// adc-monitor.exe --once beside fs9.exe, its output caught in a file and shown line by line.
void ReadFromMonitor(const Context& c) {
    char folder[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, folder, sizeof folder);
    if (char* slash = std::strrchr(folder, '\\'))
        *slash = '\0';
    char program[MAX_PATH + 32], output[MAX_PATH + 32], command[2 * MAX_PATH + 64];
    std::snprintf(program, sizeof program, "%s\\adc-monitor.exe", folder);
    if (GetFileAttributesA(program) == INVALID_FILE_ATTRIBUTES) {
        Report(c, "air data: %s is not built", program);
        return;
    }
    OutputPath(c, "adc-monitor.txt", output, sizeof output);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(output, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = file;
    PROCESS_INFORMATION process{};
    std::snprintf(command, sizeof command, "\"%s\" --once", program);
    if (file == INVALID_HANDLE_VALUE || !CreateProcessA(program, command, nullptr, nullptr, TRUE, 0,
                                                        nullptr, nullptr, &startup, &process)) {
        Report(c, "air data: adc-monitor could not be started");
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        return;
    }
    const bool ended = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    if (!ended)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(file);
    Report(c, "air data: adc-monitor --once (process %lu) %s with %lu:",
           static_cast<unsigned long>(process.dwProcessId), ended ? "ended" : "was stopped",
           static_cast<unsigned long>(code));
    FILE* in = std::fopen(output, "r");
    char line[512];
    while (in && std::fgets(line, sizeof line, in)) {
        line[std::strcspn(line, "\r\n")] = '\0';
        Report(c, "air data:   | %s", line);
    }
    if (in)
        std::fclose(in);
}

}  // namespace

void AirData(const Context& c) {
    const uint32_t command = c.ops->FindKeyCommand("MDN_ADC_START") & 0xFFFF;
    Report(c, "air data: FindKeyCommand(\"MDN_ADC_START\") -> 0x%04lX, FireKeyCommand -> %lu",
           static_cast<unsigned long>(command),
           static_cast<unsigned long>(command ? c.ops->FireKeyCommand(command) : 0));
    c.driver->Pump(300);
    ReadHere(c);
    ReadFromMonitor(c);
}

}  // namespace demo
