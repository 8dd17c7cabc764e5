#include <gtest/gtest.h>

#include <string>

#include "keyboard/key_grammar.h"

namespace {

using keyboard::FormatKeyText;
using keyboard::KeyNameToVirtualKey;
using keyboard::ParseKeyText;

std::pair<uint32_t, int32_t> Parse(const char* text) {
    const auto key = ParseKeyText(text);
    return {key.modifiers, key.virtual_key};
}

std::string Format(uint32_t modifiers, int32_t key) {
    char out[64];
    FormatKeyText(modifiers, key, out);
    return out;
}

TEST(KeyGrammar, BlanksTabsAndPlusRunsSeparateTokens) {
    for (const char* text : {"CTRL+SHIFT+F1", "CTRL SHIFT F1", " CTRL++SHIFT\tF1 ",
                             "+CTRL+SHIFT+F1+", "F1+SHIFT+CTRL", "SHIFT CTRL CTRL F1"}) {
        EXPECT_EQ(Parse(text), std::make_pair(6u, 112)) << text;
    }
    for (const char* text : {static_cast<const char*>(nullptr), "", "+", "   ", "\t+ +"}) {
        EXPECT_EQ(Parse(text), std::make_pair(0u, 0)) << (text ? text : "null");
    }
}

TEST(KeyGrammar, LastKeyTokenDecidesAndModifierWordsAreExact) {
    EXPECT_EQ(Parse("A+B"), std::make_pair(0u, int32_t{'B'}));
    EXPECT_EQ(Parse("ALT+A+FOO"), std::make_pair(1u, 0));
    EXPECT_EQ(Parse("CTRL+SHIFT"), std::make_pair(6u, 0));
    EXPECT_EQ(Parse("WIN+ALT+SPACE"), std::make_pair(9u, 32));
    // Case-sensitive: "Ctrl" is a key token naming nothing, then F1 replaces it.
    EXPECT_EQ(Parse("Ctrl+F1"), std::make_pair(0u, 112));
    EXPECT_EQ(Parse("CTRLX+ALTF1"), std::make_pair(0u, 0));
}

TEST(KeyGrammar, TableNamesAndSingleCharacters) {
    const std::pair<const char*, int32_t> names[] = {
        {"SPACE", 32},      {"PRIOR", 33},     {"PAGEUP", 33},  {"NEXT", 34},      {"PAGEDOWN", 34},
        {"END", 35},        {"HOME", 36},      {"LEFT", 37},    {"UP", 38},        {"RIGHT", 39},
        {"DOWN", 40},       {"INSERT", 45},    {"DELETE", 46},  {"MULTIPLY", 106}, {"ADD", 107},
        {"SEPARATOR", 108}, {"SUBTRACT", 109}, {"DIVIDE", 111}, {"F1", 112},       {"F9", 120},
        {"F10", 121},       {"F24", 135},      {"A", 65},       {"7", 55},         {"*", 42},
        {"a", 97},          {"\x80", 0},       {"\xFF", 0},     {"F25", 0},        {"ESCAPE", 0},
        {"RETURN", 0},      {"TAB", 0},        {"NUMPAD0", 0},  {"DECIMAL", 0},    {"F1X", 0},
        {"PAGE", 0},        {"SPACEBAR", 0},   {"space", 0},    {"", 0},
    };
    for (const auto& [name, code] : names)
        EXPECT_EQ(KeyNameToVirtualKey(name), code) << name;
    for (int f = 1; f <= 24; ++f) {
        EXPECT_EQ(KeyNameToVirtualKey(("F" + std::to_string(f)).c_str()), 111 + f);
    }
    EXPECT_EQ(KeyNameToVirtualKey(static_cast<const char*>(nullptr)), 0);
}

TEST(KeyGrammar, WritesCanonicalNamesAndModifiersInFixedOrder) {
    EXPECT_EQ(Format(6, 112), "CTRL+SHIFT+F1");
    EXPECT_EQ(Format(9, 32), "ALT+WIN+SPACE");
    EXPECT_EQ(Format(0, 33), "PAGEUP");
    EXPECT_EQ(Format(0, 34), "PAGEDOWN");
    EXPECT_EQ(Format(0, 110), "n");
    EXPECT_EQ(Format(0, 321), "A");
    EXPECT_EQ(Format(2, 0), "CTRL+");
    EXPECT_EQ(Format(0xFFFFFFF0u, 65), "A");
    const std::string longest = Format(0xF, 108);
    EXPECT_EQ(longest, "ALT+CTRL+SHIFT+WIN+SEPARATOR");
    EXPECT_EQ(longest.size() + 1, keyboard::kKeyTextSize);
    // Every name ends within its 10-byte buffer.
    for (uint32_t code = 0; code < 300; ++code) {
        char name[keyboard::kKeyNameSize + 1];
        name[keyboard::kKeyNameSize] = 'X';
        keyboard::VirtualKeyToKeyName(code, name);
        EXPECT_EQ(name[keyboard::kKeyNameSize], 'X') << code;
    }
}

TEST(KeyGrammar, FormattedTextParsesBackToThePair) {
    for (uint32_t modifiers = 0; modifiers < 16; ++modifiers) {
        for (int32_t key = -128; key < 136; ++key) {
            if (key == '\t' || key == '+')
                continue;  // separators: no text names them
            const std::string text = Format(modifiers, key);
            // Written as one byte from 0x80, a code reads back as no key.
            EXPECT_EQ(Parse(text.c_str()), std::make_pair(modifiers, key < 0 ? 0 : key)) << text;
        }
    }
}

}  // namespace
