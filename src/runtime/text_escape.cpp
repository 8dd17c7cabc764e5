#include "runtime/text_escape.h"

namespace runtime {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";
constexpr char kCutMark[] = "...";

// The escape of one byte into `out` (4 bytes); its length.
size_t EscapeByte(unsigned char c, char* out) {
    if (c == '\\' || c == '"') {
        out[0] = '\\';
        out[1] = static_cast<char>(c);
        return 2;
    }
    if (c < 0x20 || c >= 0x7F) {
        out[0] = '\\';
        out[1] = 'x';
        out[2] = kHex[c >> 4];
        out[3] = kHex[c & 0xF];
        return 4;
    }
    out[0] = static_cast<char>(c);
    return 1;
}

size_t EscapedLength(std::string_view text) {
    size_t length = 0;
    char piece[4];
    for (char c : text)
        length += EscapeByte(static_cast<unsigned char>(c), piece);
    return length;
}

}  // namespace

bool EscapeText(std::string_view text, char* out, size_t out_size) {
    if (out == nullptr || out_size == 0)
        return false;
    const bool whole = EscapedLength(text) < out_size;
    // A cut text keeps room for the mark and the NUL.
    const size_t room = whole                        ? out_size - 1
                        : out_size > sizeof kCutMark ? out_size - sizeof kCutMark
                                                     : 0;
    size_t length = 0;
    for (char c : text) {
        char piece[4];
        const size_t n = EscapeByte(static_cast<unsigned char>(c), piece);
        if (length + n > room)
            break;
        for (size_t k = 0; k < n; ++k)
            out[length++] = piece[k];
    }
    if (!whole) {
        for (size_t k = 0; k + 1 < sizeof kCutMark && length + 1 < out_size; ++k)
            out[length++] = kCutMark[k];
    }
    out[length] = '\0';
    return whole;
}

}  // namespace runtime
