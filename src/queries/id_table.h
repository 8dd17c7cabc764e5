// The query and control ids: one table each, which the dispatch reads, and with it the tests,
// the fuzz target and the check of the gauge header and the guide. An id exists when it has
// an entry here; each entry names its header constant and the bytes its caller's buffer holds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

#include "mdnsrv.h"

namespace queries {

// Bytes of a control's input that is a NUL-terminated text.
constexpr uint16_t kTextInput = 0xFFFF;

struct QueryEntry {
    int32_t id;
    const char* name;  // the gauge header's constant
    uint16_t bytes;    // read and written at the caller's address
    uint32_t (*answer)(void* inout);
};

struct ControlEntry {
    uint32_t id;
    const char* name;  // the gauge header's constant
    uint16_t bytes;    // read at the caller's address: 0 when nothing is read, or kTextInput
    uint32_t (*carry_out)(const void* in);
};

std::span<const QueryEntry> QueryTable();
std::span<const ControlEntry> ControlTable();

// The entry of `id`, or null for an id that does not exist.
template <class Entry, class Id>
const Entry* FindEntry(std::span<const Entry> table, Id id) {
    for (const Entry& entry : table) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}
inline const QueryEntry* FindQuery(int32_t id) {
    return FindEntry(QueryTable(), id);
}
inline const ControlEntry* FindControl(uint32_t id) {
    return FindEntry(ControlTable(), id);
}

}  // namespace queries

// An entry whose name is spelt by the constant itself.
#define MDN_ID_ENTRY(constant, bytes, function) \
    { constant, #constant, bytes, function }
