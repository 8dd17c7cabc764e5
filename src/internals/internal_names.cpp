// The simulator build's internal module names, stored scrambled.
//
// To run in another simulator build, replace the five texts in kNames below with the names
// of that build's modules (A: position angle function in word 6 of its record; B: located
// only; C: gain object in word 312; D: elevation function in word 12) and the name of the
// record they export; at most 19 characters each. The key may stay as it is. The texts are
// scrambled while compiling (consteval), so the plain names never reach the binary. The
// stand-in simulator builds modules of these names in sim/internals.
#include "internals/internal_names.h"

#include <array>

namespace internals {
namespace {

constexpr std::array<uint32_t, kNameFieldWords> kKey = {0x5A3C96E1u, 0xC3A5F00Fu, 0x2D4B8779u,
                                                        0x9E61B3D5u, 0x7F08E24Cu};

// Little-endian words (the first character in the lowest byte), each combined with the key
// word at the same position; the bytes after the text are zero before scrambling.
template <size_t N>
consteval std::array<uint32_t, kNameFieldWords> Scramble(const char (&text)[N]) {
    static_assert(N <= 4 * kNameFieldWords, "a name field holds at most 19 characters");
    std::array<uint32_t, kNameFieldWords> words{};
    for (size_t i = 0; i + 1 < N; ++i) {
        words[i / 4] |= static_cast<uint32_t>(static_cast<unsigned char>(text[i])) << (8 * (i % 4));
    }
    for (size_t w = 0; w < kNameFieldWords; ++w)
        words[w] ^= kKey[w];
    return words;
}

// The stand-in simulator's names.
constexpr std::array<std::array<uint32_t, kNameFieldWords>, kNameFields> kNames = {
    Scramble("SIMGEO.DLL"),       // A
    Scramble("SIMCORE.DLL"),      // B
    Scramble("SIMMIX.DLL"),       // C
    Scramble("SIMTERRAIN.DLL"),   // D
    Scramble("InternalsRecord"),  // the export of each
};

constinit NameFieldWords fields[kNameFields] = {
    {kNames[0][0], kNames[0][1], kNames[0][2], kNames[0][3], kNames[0][4]},
    {kNames[1][0], kNames[1][1], kNames[1][2], kNames[1][3], kNames[1][4]},
    {kNames[2][0], kNames[2][1], kNames[2][2], kNames[2][3], kNames[2][4]},
    {kNames[3][0], kNames[3][1], kNames[3][2], kNames[3][3], kNames[3][4]},
    {kNames[4][0], kNames[4][1], kNames[4][2], kNames[4][3], kNames[4][4]},
};

}  // namespace

NameFieldWords* ScrambledNameFields() {
    return fields;
}

void FlipNameField(NameField field) {
    for (size_t w = 0; w < kNameFieldWords; ++w)
        fields[field][w] ^= kKey[w];
}

const char* NameFieldText(NameField field) {
    return reinterpret_cast<const char*>(fields[field]);
}

}  // namespace internals
