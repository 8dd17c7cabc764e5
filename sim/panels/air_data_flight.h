// The stand-in PANELS.DLL's flight for the air-data computer: the panel variables and the
// aircraft variables it reads, scripted as a climb that changes once a second. Second n of
// the flight is the same everywhere, so a test that knows n knows every value.
#pragma once
#include <cstdint>

#include "mdnsrv.h"

namespace sim {

// Fills the record's value when the token is one of the flight's; false otherwise.
bool AnswerAirDataToken(MdnVariableQuery* record, uint32_t second);
// The unit ids the flight knows: "feet" 1, "knots" 2; -1 for anything else.
int32_t AirDataUnitId(const char* name);
// An aircraft variable in its unit; false for a variable or unit the flight does not know.
bool AnswerAircraftVariable(int32_t variable, int32_t unit, uint32_t second, double* value);

}  // namespace sim
