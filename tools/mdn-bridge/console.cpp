#include "console.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>

#include "core_mqtt_config.h"

namespace bridge {
namespace {

void SayList(const char* prefix, const char* format, va_list args) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::printf("%02u:%02u:%02u.%03u mdn-bridge: %s", now.wHour, now.wMinute, now.wSecond,
                now.wMilliseconds, prefix);
    std::vprintf(format, args);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

void Say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    SayList("", format, args);
    va_end(args);
}

}  // namespace bridge

extern "C" void MdnBridgeLibraryError(const char* format, ...) {
    va_list args;
    va_start(args, format);
    bridge::SayList("MQTT library: ", format, args);
    va_end(args);
}
