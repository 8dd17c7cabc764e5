// Texts from outside (gauges, files, Windows, the simulator) as they go into a file the module
// writes: every byte that is not plain printable ASCII becomes visible, so a text can neither
// split a line nor pass for another text, and a text that does not fit is cut visibly.
//
// Bytes 0x20 to 0x7E stay as they are, except '"' (written \x22) and '\' (written \\); every
// other byte is written \xNN with two upper-case hex digits. So "a\x22b" and "a"b" read back
// differently, and the escaped text never holds a quote, a line end or a control character.
#pragma once
#include <cstddef>
#include <cstdint>

namespace runtime {

// What follows a text that was cut.
constexpr char kCutMark[] = "... (cut)";

// Escapes `text` into `out` (`out_size` bytes, always terminated): at most `shown` bytes of
// it, reading at most `readable` bytes (so a fixed field without a terminator is safe) and
// stopping at a NUL. With `quoted` the text is put in double quotes. When more of the text
// follows than is shown or fits, it is cut after a whole escape and kCutMark follows (after
// the closing quote). A null `text` gives "(null)"; an `out` too small for the quotes and the
// mark gets "". Returns the length written.
size_t EscapeText(char* out, size_t out_size, const char* text, size_t readable = SIZE_MAX,
                  size_t shown = SIZE_MAX, bool quoted = true);

// Fits a terminated line that holds escaped texts into `room` bytes: when its `length`
// characters do not fit, it is cut, never inside an escape, and ends in kCutMark. Returns the
// new length (the old one when it fits).
size_t CutEscaped(char* line, size_t length, size_t room);

}  // namespace runtime
