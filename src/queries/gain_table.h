// The simulator's gain table, read and set by queries 1101 to 1103 and controls 65576 to
// 65578.
#pragma once
#include <cstddef>
#include <cstdint>

#include "mdnsrv.h"

namespace queries {

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

}  // namespace queries
