// The user's altitude in metres (token 829), read with tokens 71 and 72 (answered from the
// flight) for the traffic list's own-aircraft record.
#include "flight_script.h"
#include "panels_table.h"

namespace panels {
namespace {

constexpr int32_t kAltitudeMetresToken = 829;
constexpr double kFeetToMetres = 0.3048;

bool Answer(int32_t token, MdnVariableQuery* query) {
    if (token != kAltitudeMetresToken)
        return false;
    query->value.f64 = sim::FlightNow().altitude_ft * kFeetToMetres;
    return true;
}

const TokenSource traffic_tokens("traffic", &Answer);

}  // namespace
}  // namespace panels
