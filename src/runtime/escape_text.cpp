// Escaping texts from outside for the files the module writes.
#include "runtime/escape_text.h"

#include <cstring>

namespace runtime {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// The escaped form of one byte into `to` (4 bytes); its length.
size_t EscapeByte(unsigned char c, char* to) {
    if (c == '\\') {
        to[0] = '\\';
        to[1] = '\\';
        return 2;
    }
    if (c >= 0x20 && c < 0x7F && c != '"') {
        to[0] = static_cast<char>(c);
        return 1;
    }
    to[0] = '\\';
    to[1] = 'x';
    to[2] = kHex[c >> 4];
    to[3] = kHex[c & 0xF];
    return 4;
}

}  // namespace

size_t EscapeText(char* out, size_t out_size, const char* text, size_t readable, size_t shown,
                  bool quoted) {
    if (out == nullptr || out_size == 0)
        return 0;
    if (text == nullptr) {
        const char kNull[] = "(null)";
        const size_t n = out_size > sizeof kNull ? sizeof kNull - 1 : out_size - 1;
        std::memcpy(out, kNull, n);
        out[n] = '\0';
        return n;
    }
    const size_t quotes = quoted ? 2 : 0;
    size_t total = 0;
    size_t end = 0;
    char escaped[4];
    for (; end < readable && end < shown && text[end] != '\0'; ++end)
        total += EscapeByte(static_cast<unsigned char>(text[end]), escaped);
    const bool cut = (end < readable && text[end] != '\0') || total + quotes >= out_size;
    // A cut text keeps room for the mark after it.
    const size_t mark = cut ? sizeof kCutMark - 1 : 0;
    if (out_size < quotes + mark + 1) {
        out[0] = '\0';
        return 0;
    }
    const size_t room = out_size - 1 - quotes - mark;  // for the escaped text itself
    size_t length = 0;
    if (quoted)
        out[length++] = '"';
    for (size_t i = 0, body = 0; i < end; ++i) {
        const size_t n = EscapeByte(static_cast<unsigned char>(text[i]), escaped);
        if (body + n > room)
            break;
        std::memcpy(out + length, escaped, n);
        length += n;
        body += n;
    }
    if (quoted)
        out[length++] = '"';
    if (cut) {
        std::memcpy(out + length, kCutMark, mark);
        length += mark;
    }
    out[length] = '\0';
    return length;
}

size_t CutEscaped(char* line, size_t length, size_t room) {
    if (length < room)
        return length;
    if (room < sizeof kCutMark) {
        const size_t n = room > 0 ? room - 1 : 0;
        if (room > 0)
            line[n] = '\0';
        return n;
    }
    size_t at = room - sizeof kCutMark;  // where the mark begins at the latest
    // Step back to the start of an escape that the cut would split: escapes begin with '\'
    // and are two (\\) or four (\xNN) characters long.
    for (size_t i = 0; i < at;) {
        if (line[i] != '\\') {
            ++i;
            continue;
        }
        const size_t n = line[i + 1] == 'x' ? 4 : 2;
        if (i + n > at) {
            at = i;
            break;
        }
        i += n;
    }
    std::memcpy(line + at, kCutMark, sizeof kCutMark);
    return at + sizeof kCutMark - 1;
}

}  // namespace runtime
