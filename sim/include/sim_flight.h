/*
 * sim_flight.h: the stand-in flight.dll. Its export "Linkage" is a record of
 * SIM_FLIGHT_LINKAGE_WORDS 32-bit words; word 23 is a function without arguments that
 * returns the flight-model object, whose flag word (byte 4) and 64-bit float (byte 268) the
 * module's autopilot source writes.
 */
#ifndef SIM_FLIGHT_H
#define SIM_FLIGHT_H

#include <stdint.h>

#include "sim_driver.h"

#ifdef __cplusplus
extern "C" {
#endif

#define SIM_FLIGHT_LINKAGE_WORDS 32
#define SIM_FLIGHT_MODEL_WORD 23
#define SIM_FLIGHT_MODEL_FLAGS 0x3u /* the flag word before the module's first write */

typedef struct SimFlightModelState {
    uint32_t flags;          /* the flag word at byte 4 */
    double autopilot_value;  /* the 64-bit float at byte 268 */
    uint32_t lookups;        /* calls of Linkage word 23 */
    uint32_t object;         /* the object's address */
} SimFlightModelState;

/* "SimFlightModelGetState". */
typedef void(SIM_STDCALL* SimFlightModelGetStateFn)(SimFlightModelState* out);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* SIM_FLIGHT_H */
