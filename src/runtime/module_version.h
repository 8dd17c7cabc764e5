// The version digits the module shows in its boxes and answers to the version query, read from a
// file's version resource.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

namespace runtime {

// Reads the FileVersion text of `module`'s file, or of the module's own file when null.
// Every successful read also sets the module version digits; `out` (260 bytes, may be
// null) receives the whole text. False, and nothing changed, when the text cannot be read.
bool ReadVersionText(HMODULE module, char* out);
// The FileVersion text of the file at `file` into `out` (260 bytes), cut to 259 characters;
// the version digits stay as they are. False when the file has no such text.
bool ReadFileVersionText(const char* file, char* out);

// The four version digits, zero bytes until a version text was read.
const char* VersionDigits();
// The digits packed one per byte, the first in the highest: 0x05030001 for "5.3.0.1".
uint32_t PackedVersion();
void ResetVersionDigits();

}  // namespace runtime
