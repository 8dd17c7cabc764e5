// Outside texts (names from gauges, the simulator, the settings file) in the files the module
// writes: escaped one way everywhere, so one text is one line and two different texts never
// read the same.
#pragma once
#include <cstddef>
#include <string_view>

namespace runtime {

// Bytes of `out` that hold any text of `length` bytes escaped, its NUL included.
constexpr size_t EscapedSize(size_t length) {
    return 4 * length + 1;
}

// Writes `text` into `out` (`out_size` bytes, at least 4; always terminated): a backslash
// becomes \\, a double quote \", bytes below 0x20 and from 0x7F \xNN (upper-case hex), any
// other byte itself. When the escaped text does not fit it is cut before the first escape that
// does not, never inside one, and ends in "..."; false then.
bool EscapeText(std::string_view text, char* out, size_t out_size);

}  // namespace runtime
