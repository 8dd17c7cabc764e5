// The air-data computer seen from outside: adc-monitor --once, run as a second process, reads
// the block before the worker runs (all zero, or what a reader that made the region first
// left there), then, after the key bound to MDN_ADC_START, the converted values of the
// scripted flight at the time the block says it is, and a later reading shows the clock on.
// mdn-doctor, run the same way, finds the simulator running and the block there.
// Settings: monitor (adc-monitor.exe), reader_first (1 when a reader made the region), doctor
// (mdn-doctor.exe, optional).
#include <cmath>
#include <map>
#include <string>

#include "e2e_support.h"
#include "flight_script.h"
#include "mdnsrv.h"
#include "sim_clock.h"
#include "sim_paths.h"

namespace {

constexpr double kStartOfFlight = 13 * 3600.0 + 45 * 60.0 + 30.0;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

struct Reading {
    DWORD exit_code = 0xFFFFFFFF;
    std::string text;
    std::map<std::string, double> fields;
};

void Parse(Reading* r) {
    size_t at = 0;
    while (at < r->text.size()) {
        size_t end = r->text.find('\n', at);
        if (end == std::string::npos)
            end = r->text.size();
        const std::string line = r->text.substr(at, end - at);
        char name[64];
        double value;
        if (std::sscanf(line.c_str(), "%63s %lf", name, &value) == 2)
            r->fields[name] = value;
        at = end + 1;
    }
}

// Runs a program with its output on a pipe, pumping the simulator's loop meanwhile.
Reading RunProgram(const SimDriver* d, std::string command) {
    Reading r;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 0))
        return r;
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write_end;
    startup.hStdError = write_end;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    CloseHandle(write_end);
    if (!started) {
        CloseHandle(read_end);
        return r;
    }
    for (;;) {
        DWORD available = 0;
        if (PeekNamedPipe(read_end, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            char chunk[4096];
            DWORD got = 0;
            if (ReadFile(read_end, chunk, sizeof chunk, &got, nullptr) && got > 0)
                r.text.append(chunk, got);
            continue;
        }
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 && available == 0) {
            DWORD got = 0;
            char chunk[4096];
            while (ReadFile(read_end, chunk, sizeof chunk, &got, nullptr) && got > 0)
                r.text.append(chunk, got);
            break;
        }
        d->Pump(20);
    }
    GetExitCodeProcess(process.hProcess, &r.exit_code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(read_end);
    Parse(&r);
    return r;
}

// The program's path in quotes, then its arguments (appended piece by piece: GCC 12 warns
// wrongly about an overlapping copy in a chain of + on strings).
std::string CommandLine(const std::string& program, const char* arguments) {
    std::string command = "\"";
    command += program;
    command += "\"";
    command += arguments;
    return command;
}

Reading RunMonitor(const SimDriver* d, const std::string& monitor) {
    return RunProgram(d, CommandLine(monitor, " --once"));
}

double Field(const Reading& r, const char* name) {
    const auto found = r.fields.find(name);
    return found == r.fields.end() ? NAN : found->second;
}

void CheckField(const SimDriver* d, const Reading& r, const char* name, double expected,
                double tolerance) {
    char what[96];
    std::snprintf(what, sizeof what, "adc-monitor %s", name);
    SimCheckNear(d, what, expected, Field(r, name), tolerance);
}

// Every field the monitor shows of a block nobody has written yet, or that holds the
// pattern a reader filled it with.
void CheckUnpublished(const SimDriver* d, const Reading& r, bool reader_first) {
    SimCheckU32(d, "adc-monitor exit code before the start", 0, r.exit_code);
    SimCheckU32(d, "fields shown before the start", 48, static_cast<uint32_t>(r.fields.size()));
    if (reader_first) {
        const uint32_t pattern = 0xA5A5A5A5u;
        float single;
        std::memcpy(&single, &pattern, sizeof single);
        CheckField(d, r, "word0", pattern, 0);
        CheckField(d, r, "g1Constant", single, std::fabs(single) * 1e-6);
        return;
    }
    uint32_t nonzero = 0;
    for (const auto& [name, value] : r.fields)
        nonzero += value != 0 ? 1 : 0;
    SimCheckU32(d, "fields not zero before the start", 0, nonzero);
    d->Check(r.text.find("has not been started") != std::string::npos,
             "adc-monitor says the computer has not been started", "the note", r.text.c_str());
}

// The values the stand-in PANELS.DLL scripts, through the module's conversions.
void CheckPublished(const SimDriver* d, const Reading& r, uint32_t before_ms, uint32_t after_ms) {
    SimCheckU32(d, "adc-monitor exit code", 0, r.exit_code);
    const double time_of_day = Field(r, "timeOfDay");
    const double flight_time = (before_ms + after_ms) / 2000.0;
    // The block is at most a cycle older than the moment the monitor read it.
    SimCheckNear(d, "adc-monitor timeOfDay", kStartOfFlight + flight_time, time_of_day,
                 (after_ms - before_ms) / 2000.0 + 0.2);
    const sim::FlightState flight = sim::FlightAt(time_of_day - kStartOfFlight);
    const double ground_ft = flight.ground_elevation_m * 3.28084;

    // A reader may see fields from two successive cycles: allow for 0.1 s of flight.
    CheckField(d, r, "word0", 0, 0);
    CheckField(d, r, "word1", 0, 0);
    CheckField(d, r, "value604", 604.5, 0);
    CheckField(d, r, "latitude", flight.latitude * (10001750.0 / 90.0) / 6367279.977470828, 1e-6);
    CheckField(d, r, "longitude", flight.longitude * kRadiansPerDegree, 1e-6);
    CheckField(d, r, "altitude", flight.altitude_ft, 1.0);
    CheckField(d, r, "value552", 60.96, 1e-9);
    CheckField(d, r, "value553", 91.44, 1e-9);
    CheckField(d, r, "value551", 30.48, 1e-9);
    CheckField(d, r, "value77", -12.5, 0);
    CheckField(d, r, "value86", 123.456, 1e-12);
    CheckField(d, r, "value79", 7.25, 0);
    CheckField(d, r, "value351", 2.0, 0);
    CheckField(d, r, "value69", 2.0, 0);
    CheckField(d, r, "value60", -2, 0);
    CheckField(d, r, "aircraftVar57", flight.altitude_ft - ground_ft, 5.0);
    CheckField(d, r, "altitudeSingle", flight.altitude_ft, 1.0);
    CheckField(d, r, "heightAboveGround", flight.altitude_ft - ground_ft, 5.0);
    CheckField(d, r, "value556PerMinute", flight.vertical_speed_fpm, 1e-3);
    CheckField(d, r, "aircraftVar25", 120.0, 0);
    CheckField(d, r, "aircraftVar24", 118.5, 0);
    CheckField(d, r, "value64", 1.6, 1e-6);
    CheckField(d, r, "value67", 9, 0);
    CheckField(d, r, "value86Single", 123.456, 1e-4);
    CheckField(d, r, "value82", 55.5, 0);
    CheckField(d, r, "value350", 896.0, 0);
    CheckField(d, r, "value341", 0.125, 0);
    CheckField(d, r, "frequency23", 122.275, 1e-4);
    CheckField(d, r, "frequency870", 111.85, 1e-4);
    CheckField(d, r, "value850", 850.75, 0);
    CheckField(d, r, "value849", 849.25, 0);
    CheckField(d, r, "g1Percent", 0.85, 1e-6);
    CheckField(d, r, "g1Fraction", 0.5, 0);
    CheckField(d, r, "g1TemperatureA", 100.0, 1e-4);
    CheckField(d, r, "g1Mass", 100.0, 1e-4);
    CheckField(d, r, "g1Value", 633.5, 0);
    CheckField(d, r, "g1TemperatureB", 50.0, 1e-4);
    CheckField(d, r, "g1Constant", 18.0, 0);
    CheckField(d, r, "g1Pressure", 20.0, 1e-5);
    CheckField(d, r, "g2Percent", 0.42, 1e-6);
    CheckField(d, r, "g2Fraction", 0.25, 0);
    CheckField(d, r, "g2TemperatureA", 0.0, 1e-4);
    CheckField(d, r, "g2Mass", 50.0, 1e-4);
    CheckField(d, r, "g2Value", 652.5, 0);
    CheckField(d, r, "g2TemperatureB", 25.0, 1e-4);
    CheckField(d, r, "g2Constant", 18.0, 0);
    CheckField(d, r, "g2Pressure", 10.0, 1e-5);
}

}  // namespace

SIM_GAUGE_ENTRY {
    const std::string monitor = sim::WindowsPath(e2e::SettingOr(driver, "monitor", ""));
    const bool reader_first = std::strcmp(e2e::SettingOr(driver, "reader_first", "0"), "1") == 0;

    CheckUnpublished(driver, RunMonitor(driver, monitor), reader_first);
    if (const char* doctor = driver->Setting("doctor")) {
        const Reading r = RunProgram(driver, CommandLine(sim::WindowsPath(doctor), ""));
        driver->Check(r.text.find("ok      simulator is running and the air-data block exists") !=
                          std::string::npos,
                      "mdn-doctor finds the simulator running and the block", "the ok line",
                      r.text.c_str());
    }

    // The key the settings file binds to MDN_ADC_START starts one more thread.
    const uint32_t threads = driver->ThreadCount();
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F8);
    driver->Pump(300);
    SimCheckU32(driver, "threads after MDN_ADC_START", threads + 1, driver->ThreadCount());
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F8);
    driver->Pump(100);
    SimCheckU32(driver, "threads after a second MDN_ADC_START", threads + 1, driver->ThreadCount());

    const uint32_t before = sim::ElapsedMs();
    const Reading first = RunMonitor(driver, monitor);
    const uint32_t after = sim::ElapsedMs();
    CheckPublished(driver, first, before, after);

    // Rewritten about thirty times a second: a reading a second later is a second on.
    driver->Pump(1000);
    const Reading second = RunMonitor(driver, monitor);
    const double later = Field(second, "timeOfDay") - Field(first, "timeOfDay");
    char got[32];
    std::snprintf(got, sizeof got, "%.3f s", later);
    driver->Check(later >= 1.0 && later < 10.0, "timeOfDay a reading later", "1 s or more", got);
    return 0;
}
