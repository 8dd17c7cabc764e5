/*
 * sim_traffic.h: the stand-in traffic module (TrafficInfo.DLL) as a test gauge sees it, and
 * the registered-object mechanism of the stand-in PANELS.DLL that it uses.
 *
 * At attach TrafficInfo.DLL registers its callback object under "ITrafficInfo" with
 * PANELS.DLL's export "SimPanelsRegisterObject"; panels table word 77 finds it by name.
 * The object's function 2 hands out the ITrafficInfo interface, which answers from the
 * aircraft below. The own aircraft (id 0x0001) is wherever the panel system says the user is
 * (tokens 71, 72 and 829), converted as the service module converts them, so in mode 1 its
 * position equals the SELF record's unless the flight moved between the two reads.
 */
#ifndef SIM_TRAFFIC_H
#define SIM_TRAFFIC_H

#include <stdint.h>

#include "sim_driver.h"

#ifdef __cplusplus
extern "C" {
#endif

/* PANELS.DLL "SimPanelsRegisterObject": registers `object` under `name` (a null object
 * removes the name); 1 on success, 0 when the registry is full or the name is null. */
typedef uint32_t(SIM_STDCALL* SimPanelsRegisterObjectFn)(const char* name, void* object);

/* TrafficInfo.DLL "SetTrafficMode": 1 (the default) for mode 1, 0 for mode 0, from the
 * interface's next mode answer on. */
typedef void(SIM_STDCALL* SimSetTrafficModeFn)(uint32_t mode);

#define SIM_TRAFFIC_OWN_ID 0x0001u

typedef struct SimTrafficAircraft {
    uint32_t id;
    double latitude; /* degrees */
    double longitude;
    double heading;
    double plane_altitude; /* feet */
    double indicated_altitude;
    double ground_speed;   /* knots */
    double vertical_speed; /* feet per minute */
    double combustion;     /* "ENG COMBUSTION", index 1 */
    const char* atc_id;    /* the mode 0 name */
    const char* name;      /* the mode 1 name */
} SimTrafficAircraft;

/* Mode 1 keeps 0x1A2B, 0x0003, 0x0004 after SELF (the own aircraft and the navigation aid are
 * left out); mode 0 keeps 0x1A2B, 0x0001, 0x0004 (those without combustion are left out).
 * The own aircraft's position fields are not used: it follows the panel tokens. */
static const SimTrafficAircraft kSimTraffic[] = {
    {0x1A2B, 45.5, 90.25, 270.0, 5500.0, 5480.0, 180.0, -700.0, 1.0, "N123AB", "Skyliner 300"},
    {SIM_TRAFFIC_OWN_ID, 0.0, 0.0, 60.0, 0.0, 0.0, 120.0, 500.0, 1.0, "USER1", "Own"},
    {0x0002, 45.25, 90.5, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, "VOR1", "*fsnav beacon"},
    {0x0003, 44.75, 89.5, 90.0, 12.0, 10.0, 0.0, 0.0, 0.0, "N3PARK", "Parked Twin"},
    {0x0004, 44.5, 91.0, 180.0, 31000.0, 30950.0, 450.0, 1500.0, 1.0, "DAL1234",
     "Widebody 900 Airline Colours"},
};
#define SIM_TRAFFIC_COUNT (sizeof kSimTraffic / sizeof kSimTraffic[0])

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* SIM_TRAFFIC_H */
