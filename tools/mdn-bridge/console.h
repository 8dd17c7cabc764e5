// The bridge's lines on its console: one line per event, with the time, flushed at once so a
// log file that captures them is current.
#pragma once

namespace bridge {

void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace bridge
