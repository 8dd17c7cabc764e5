/*
 * sim_gps.h: the stand-in simulator's GPS. PANELS.DLL's table word 39 answers the name
 * "FS2002 GPS DATA" with the address of a GPS data block that holds the values below, in the
 * simulator's units, and a flight plan of SIM_GPS_WAYPOINTS waypoints whose active one is
 * SIM_GPS_ACTIVE_INDEX. The block does not change while the simulator runs.
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

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* SIM_GPS_H */
