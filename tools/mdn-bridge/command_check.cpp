#include "command_check.h"

namespace bridge {
namespace {

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

// UTF-8 text without control characters other than tab and line ends.
bool IsText(const uint8_t* p, size_t size) {
    for (size_t i = 0; i < size;) {
        const uint8_t c = p[i];
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F)
                return false;
            ++i;
            continue;
        }
        size_t follow;
        uint32_t value;
        if (c >= 0xC2 && c <= 0xDF) {
            follow = 1, value = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            follow = 2, value = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            follow = 3, value = c & 0x07;
        } else {
            return false;
        }
        if (size - i <= follow)
            return false;
        for (size_t k = 1; k <= follow; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            value = value << 6 | (p[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not text.
        if ((follow == 2 && (value < 0x800 || (value >= 0xD800 && value <= 0xDFFF))) ||
            (follow == 3 && (value < 0x10000 || value > 0x10FFFF)))
            return false;
        i += follow + 1;
    }
    return true;
}

}  // namespace

CommandFault CheckCommand(std::string_view name, const uint8_t* payload, size_t size) {
    if (name.empty() || name.size() > kMaxCommandName)
        return CommandFault::kBadName;
    for (char c : name) {
        if (!IsNameCharacter(c))
            return CommandFault::kBadName;
    }
    if (size > kMaxCommandPayload)
        return CommandFault::kTooLong;
    if (!IsText(payload, size))
        return CommandFault::kBinary;
    return CommandFault::kNone;
}

const char* DescribeFault(CommandFault fault) {
    switch (fault) {
        case CommandFault::kNone:
            return "accepted";
        case CommandFault::kBadName:
            return "not a command name (letters, digits, '_', '-' and '.', at most 63)";
        case CommandFault::kTooLong:
            return "payload longer than 256 bytes";
        case CommandFault::kBinary:
            return "payload is not text";
    }
    return "?";
}

}  // namespace bridge
