// The aircraft paths that queries 1001 and 1002 answer, in the module's one path buffer.
#pragma once
#include <cstddef>
#include <cstdint>

#include "mdnsrv.h"

namespace queries {

constexpr size_t kPathBufferSize = 260;

// Queries 1001 and 1002: the aircraft configuration file path and the aircraft folder in the
// module's one path buffer; the buffer's address.
const char* AircraftConfigurationPath();
const char* AircraftFolder();

}  // namespace queries
