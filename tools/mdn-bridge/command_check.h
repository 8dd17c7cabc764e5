// What the bridge accepts on a command topic before it looks the name up: a name the module
// could have bound, and a payload that is short text (it is ignored, but a panel that sends
// something else is misconfigured and is told so on the console).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace bridge {

constexpr size_t kMaxCommandPayload = 256;
constexpr size_t kMaxCommandName = 63;  // the module's command names fit 64 bytes

enum class CommandFault { kNone, kBadName, kTooLong, kBinary };

CommandFault CheckCommand(std::string_view name, const uint8_t* payload, size_t size);
const char* DescribeFault(CommandFault fault);

}  // namespace bridge
