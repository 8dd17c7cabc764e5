/*
 * sim_internals.h: the stand-in simulator's four internal modules, as MdnSrv.dll finds them
 * by name (SIMGEO.DLL, SIMCORE.DLL, SIMMIX.DLL, SIMTERRAIN.DLL, each exporting the record
 * "InternalsRecord"), and the values they were built with, so a test gauge can compute what
 * the module should answer.
 *
 *   SIMGEO.DLL      word 6: the position angle, SimGeoAngleDegrees of the position
 *   SIMCORE.DLL     located and counted only
 *   SIMMIX.DLL      word 312: the gain object (functions at word 0, gain setter in their
 *                   word 5, seven entries of level and word 48 bytes in)
 *   SIMTERRAIN.DLL  word 12: the elevation, SimTerrainMetres of the point
 */
#ifndef SIM_INTERNALS_H
#define SIM_INTERNALS_H

#include <math.h>
#include <stdint.h>

#define SIM_INTERNALS_EXPORT "InternalsRecord"

/* Initial gain levels (dB) and words of the seven entries. */
#define SIM_MIX_LEVELS \
    { 0.0, -6.0, -12.0, -3.0, 0.0, -20.0, -40.0 }
#define SIM_MIX_WORD(k) (0x11u + (uint32_t)(k))

/* The island the terrain is built around, just north-east of where the scripted flight starts. */
#define SIM_TERRAIN_LATITUDE 45.03
#define SIM_TERRAIN_LONGITUDE 7.04

/* A variation-like angle that changes with the position, in degrees. */
static inline double SimGeoAngleDegrees(double latitude, double longitude) {
    return 2.0 + 0.1 * longitude - 0.05 * latitude;
}

/* Ground elevation in metres: an island of about 13 nautical miles' radius around the
 * reference point, one peak north-east of its centre, a ridged shore, and sea at -60 m. */
static inline double SimTerrainMetres(double latitude, double longitude) {
    const double dy = (latitude - SIM_TERRAIN_LATITUDE) * 60.0; /* nautical miles */
    const double dx = (longitude - SIM_TERRAIN_LONGITUDE) * 60.0 *
                      cos(SIM_TERRAIN_LATITUDE * 0.017453292519943295);
    const double r2 = dx * dx + dy * dy;
    const double island = 900.0 * exp(-r2 / 64.0);
    const double peak = 1800.0 * exp(-((dx - 3.0) * (dx - 3.0) + (dy - 2.0) * (dy - 2.0)) / 6.0);
    const double ridges = 180.0 * sin(dx * 0.9) * cos(dy * 0.7) * exp(-r2 / 100.0);
    return island + peak + ridges - 60.0;
}

#endif /* SIM_INTERNALS_H */
