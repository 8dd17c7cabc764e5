// Key texts such as "CTRL+SHIFT+F1" and the (modifiers, virtual key) pairs they stand for.
// Parsing is case-sensitive: BindKeyCommand upper-cases a text before it gets here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace keyboard {

struct KeyCombination {
    uint32_t modifiers = 0;   // MDN_MOD_* bits, the Windows hot-key modifier flags
    int32_t virtual_key = 0;  // Windows virtual-key code; 0: no key
};

// "SEPARATOR" and its NUL.
constexpr size_t kKeyNameSize = 10;
// "ALT+CTRL+SHIFT+WIN+SEPARATOR" and its NUL.
constexpr size_t kKeyTextSize = 29;

// The code of a table name or of a single character below 0x80; 0, "no key", for anything
// else. The module and mdn-doctor both take 0 as the one answer for a text naming no key.
int32_t KeyNameToVirtualKey(std::string_view name);
int32_t KeyNameToVirtualKey(const char* name);

// Writes the canonical name of a code into `out` (kKeyNameSize bytes): the table's name, or
// the one character whose value is the code's low 8 bits.
void VirtualKeyToKeyName(uint32_t code, char* out);

// A null or empty text gives no modifiers and no key.
KeyCombination ParseKeyText(const char* text);

// A binding's text as BindKeyCommand reads it: its letters are upper-cased in place (a text
// without lower-case letters is not written), then it is parsed. Null gives no key.
KeyCombination ParseBindingText(char* text);

// Writes the canonical key text into `out` (at least kKeyTextSize bytes). Modifier bits above
// 0x8 are not written.
void FormatKeyText(uint32_t modifiers, int32_t virtual_key, char* out);

}  // namespace keyboard
