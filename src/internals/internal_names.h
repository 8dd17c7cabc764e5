// The names of the four simulator modules the internals resolver looks for and of the record
// each exports. They are kept scrambled in the module's data and unscrambled in place only
// for the moment of one look-up.
#pragma once
#include <cstddef>
#include <cstdint>

namespace internals {

// Field order: the modules A, B, C and D, then the export looked up in each of them.
enum NameField : size_t { kModuleA, kModuleB, kModuleC, kModuleD, kExportName, kNameFields };
constexpr size_t kNameFieldWords = 5;  // 20 bytes: at most 19 characters and the NUL
using NameFieldWords = uint32_t[kNameFieldWords];

// The five scrambled fields, one after another (100 bytes).
NameFieldWords* ScrambledNameFields();
// Unscrambles a scrambled field in place, or scrambles an unscrambled one: the same operation.
void FlipNameField(NameField field);
// The field's bytes as a text; readable only between two flips.
const char* NameFieldText(NameField field);

}  // namespace internals
