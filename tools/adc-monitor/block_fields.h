// The published quantities of the air-data block: name, type, offset and unit, and how one
// reading of them is printed.
#pragma once
#include <cstddef>
#include <cstdio>

namespace monitor {

enum class FieldType { kWord, kInteger, kSingle, kDouble };

struct Field {
    const char* name;
    FieldType type;
    size_t offset;
    const char* unit;
};

extern const Field kFields[];
extern const size_t kFieldCount;

// Prints every field of the block at `view` (384 bytes), one line each. Each field is read
// with one load, as the module writes it with one store, so no value is ever torn. Returns
// true when every field read zero.
bool PrintReading(const volatile unsigned char* view, std::FILE* out);

}  // namespace monitor
