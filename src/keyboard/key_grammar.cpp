#include "keyboard/key_grammar.h"

#include <cstring>

#include "mdnsrv.h"

namespace keyboard {
namespace {

struct KeyName {
    const char* name;
    int32_t code;
};

// Searched top to bottom when parsing; "PRIOR" and "NEXT" are read but never written.
constexpr KeyName kKeyNames[] = {
    {"SPACE", 0x20},    {"PRIOR", 0x21},    {"PAGEUP", 0x21}, {"NEXT", 0x22},
    {"PAGEDOWN", 0x22}, {"END", 0x23},      {"HOME", 0x24},   {"LEFT", 0x25},
    {"UP", 0x26},       {"RIGHT", 0x27},    {"DOWN", 0x28},   {"INSERT", 0x2D},
    {"DELETE", 0x2E},   {"MULTIPLY", 0x6A}, {"ADD", 0x6B},    {"SEPARATOR", 0x6C},
    {"SUBTRACT", 0x6D}, {"DIVIDE", 0x6F},   {"F1", 0x70},     {"F2", 0x71},
    {"F3", 0x72},       {"F4", 0x73},       {"F5", 0x74},     {"F6", 0x75},
    {"F7", 0x76},       {"F8", 0x77},       {"F9", 0x78},     {"F10", 0x79},
    {"F11", 0x7A},      {"F12", 0x7B},      {"F13", 0x7C},    {"F14", 0x7D},
    {"F15", 0x7E},      {"F16", 0x7F},      {"F17", 0x80},    {"F18", 0x81},
    {"F19", 0x82},      {"F20", 0x83},      {"F21", 0x84},    {"F22", 0x85},
    {"F23", 0x86},      {"F24", 0x87},
};
static_assert(sizeof kKeyNames / sizeof kKeyNames[0] == 42);

// The names written back, one per code that has any.
const char* CanonicalName(uint32_t code) {
    switch (code) {
        case 0x21:
            return "PAGEUP";
        case 0x22:
            return "PAGEDOWN";
        default:
            break;
    }
    for (const auto& entry : kKeyNames) {
        if (static_cast<uint32_t>(entry.code) == code)
            return entry.name;
    }
    return nullptr;
}

struct ModifierWord {
    std::string_view word;
    uint32_t flag;
    const char* prefix;
};

constexpr ModifierWord kModifierWords[] = {
    {"ALT", MDN_MOD_ALT, "ALT+"},
    {"CTRL", MDN_MOD_CTRL, "CTRL+"},
    {"SHIFT", MDN_MOD_SHIFT, "SHIFT+"},
    {"WIN", MDN_MOD_WIN, "WIN+"},
};

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '+';
}

}  // namespace

int32_t KeyNameToVirtualKey(std::string_view name) {
    if (name.empty())
        return 0;
    // A lone character is its own code; bytes from 0x80 name no key, so they give 0 like every
    // other text that names none (a code above 0xFF would reach Windows as a huge key code).
    if (name.size() == 1) {
        const auto c = static_cast<unsigned char>(name[0]);
        return c < 0x80 ? static_cast<int32_t>(c) : 0;
    }
    for (const auto& entry : kKeyNames) {
        if (name == entry.name)
            return entry.code;
    }
    return 0;
}

int32_t KeyNameToVirtualKey(const char* name) {
    return name == nullptr ? 0 : KeyNameToVirtualKey(std::string_view(name));
}

void VirtualKeyToKeyName(uint32_t code, char* out) {
    if (const char* name = CanonicalName(code)) {
        std::memcpy(out, name, std::strlen(name) + 1);
        return;
    }
    out[0] = static_cast<char>(code & 0xFF);
    out[1] = '\0';
}

KeyCombination ParseKeyText(const char* text) {
    KeyCombination result;
    if (text == nullptr)
        return result;
    const char* p = text;
    while (*p != '\0') {
        while (*p != '\0' && IsSeparator(*p))
            ++p;
        const char* start = p;
        while (*p != '\0' && !IsSeparator(*p))
            ++p;
        if (p == start)
            break;
        const std::string_view token(start, static_cast<size_t>(p - start));
        bool modifier = false;
        for (const auto& m : kModifierWords) {
            if (token == m.word) {
                result.modifiers |= m.flag;
                modifier = true;
                break;
            }
        }
        // The last key token decides, even when it names no key.
        if (!modifier)
            result.virtual_key = KeyNameToVirtualKey(token);
    }
    return result;
}

KeyCombination ParseBindingText(char* text) {
    if (text != nullptr) {
        for (char* p = text; *p != '\0'; ++p) {
            if (*p >= 'a' && *p <= 'z')
                *p = static_cast<char>(*p - 'a' + 'A');
        }
    }
    return ParseKeyText(text);
}

void FormatKeyText(uint32_t modifiers, int32_t virtual_key, char* out) {
    size_t length = 0;
    for (const auto& m : kModifierWords) {
        if ((modifiers & m.flag) == 0)
            continue;
        const size_t n = std::strlen(m.prefix);
        std::memcpy(out + length, m.prefix, n);
        length += n;
    }
    VirtualKeyToKeyName(static_cast<uint32_t>(virtual_key), out + length);
}

}  // namespace keyboard
