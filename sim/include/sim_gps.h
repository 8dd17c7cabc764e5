/*
 * sim_gps.h: the stand-in simulator's GPS. PANELS.DLL's table word 39 answers the name
 * "FS2002 GPS DATA" with the address of a GPS data block that holds the values below, in the
 * simulator's units, and a flight plan of SIM_GPS_WAYPOINTS waypoints whose active one is
 * SIM_GPS_ACTIVE_INDEX. The block and the plan change only when a gauge asks for it with
 * SimPanelsGpsReplan.
 */
#ifndef SIM_GPS_H
#define SIM_GPS_H

#include <stdint.h>

#include "sim_driver.h"

#ifdef __cplusplus
extern "C" {
#endif

#define SIM_GPS_LATITUDE 45.0         /* degrees north */
#define SIM_GPS_LONGITUDE 7.0         /* degrees east */
#define SIM_GPS_ALTITUDE_M 914.4      /* 3000 ft */
#define SIM_GPS_VARIATION_RAD -0.034906585039886591 /* 2 degrees east */
#define SIM_GPS_GROUND_SPEED_MPS 61.733281  /* 120 kt */
#define SIM_GPS_TRACK_RAD 1.0471975511965976 /* 60 degrees */
#define SIM_GPS_STATE 1
#define SIM_GPS_DISTANCE_M 9260.0     /* 5 nm to the active waypoint */
#define SIM_GPS_CROSS_TRACK_M -185.2  /* 0.1 nm */
#define SIM_GPS_DESIRED_TRACK_RAD 1.0821041362364843 /* 62 degrees */

#define SIM_GPS_WAYPOINTS 6
#define SIM_GPS_ACTIVE_INDEX 2

typedef struct SimGpsWaypoint {
    const char* ident; /* as the simulator stores it; the module lists five characters */
    double latitude;   /* degrees north */
    double longitude;  /* degrees east */
} SimGpsWaypoint;

static const SimGpsWaypoint kSimGpsPlan[SIM_GPS_WAYPOINTS] = {
    {"LSGG", 44.9, 6.8},  {"AOSTA", 45.0, 7.0}, {"BELPASSO", 45.2, 7.4},
    {"ZH", 45.4, 7.8},    {"TOP", 45.6, 8.2},    {"LSZH", 45.8, 8.6},
};

/* "SimPanelsGpsRequests": how often table word 39 was asked for the GPS data block. */
typedef uint32_t(SIM_STDCALL* SimPanelsGpsRequestsFn)(void);

/* "SimPanelsGpsReplan": the simulator's thread changes the plan, as it reallocates it. The
 * plan's pages are freed (nothing of it can be read any more), then, with `how` 0, a new plan
 * of `count` waypoints (at most 4096) is published: identifiers SIM_GPS_REPLAN_IDENT with the
 * waypoint's number, from the present position 0.1 degree north and east per waypoint.
 * SIM_GPS_REPLAN_DANGLING stops half-way: the block keeps the freed plan's address and states
 * `count` waypoints. SIM_GPS_REPLAN_MOVE_BLOCK instead moves the block itself to new pages and
 * frees the old ones (the name must be looked up again). With SIM_GPS_REPLAN_REUSE as well, the
 * old pages are handed at once to another allocation, as Windows may do: they stay readable,
 * and hold a first word above any block's size and zeros after it, which passes every check
 * a reader can make on a block but names no plan. */
#define SIM_GPS_REPLAN_DANGLING 1u
#define SIM_GPS_REPLAN_MOVE_BLOCK 2u
#define SIM_GPS_REPLAN_REUSE 4u
#define SIM_GPS_REPLAN_IDENT "P%03d"
typedef void(SIM_STDCALL* SimPanelsGpsReplanFn)(int32_t count, uint32_t how);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* SIM_GPS_H */
