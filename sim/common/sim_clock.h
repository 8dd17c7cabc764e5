// The one clock every part of the stand-in simulator reads: milliseconds since the process
// started. The stand-in modules are loaded at different moments, so they share the process's
// creation time rather than their own load times, and the scripted flight agrees everywhere.
#pragma once
#include <cstdint>

namespace sim {

uint32_t ElapsedMs();

}  // namespace sim
