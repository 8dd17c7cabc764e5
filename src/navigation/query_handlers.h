// The pieces of ServiceQuery and ServiceControl that keep state or reach into the simulator's
// internals, shared by the two dispatchers.
#pragma once
#include <cstdint>

#include "mdnsrv.h"

namespace navigation::queries {

constexpr size_t kPathBufferSize = 260;

// Queries 1001 and 1002: the aircraft configuration file path and the aircraft folder in the
// module's one path buffer; the buffer's address.
const char* AircraftConfigurationPath();
const char* AircraftFolder();

// Queries 1101 to 1103; false when the entry index lies outside the table (nothing read or
// written then). Without a resolved gain table they leave the output untouched.
bool QueryGainPercent(void* inout);
bool QueryGainWord(void* inout);
void QueryGainTable(void* out);

// Controls 65576 to 65578: nothing happens without a resolved gain table, with a null input,
// with entry 0 or an index outside the table.
void ControlSetGain(const void* in);
void ControlSetGainWord(const void* in);
void ControlSetGainTable(const void* in);

}  // namespace navigation::queries
