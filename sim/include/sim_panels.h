/*
 * sim_panels.h: what the stand-in PANELS.DLL shows a test gauge (through
 * SimDriver::StandInExport("PANELS.DLL", name)) and the values it was scripted with.
 *
 * PANELS.DLL's export "Linkage" is also the panels function table that fs9.exe hands to
 * MdnSrv.dll's ImportTable: SIM_PANELS_WORDS 32-bit words. Word 40 holds the panel-variable
 * lookup, a jump placed 0x309F0 bytes into a writable code region of 0x31000 bytes, so the
 * 17 bytes that the module patches relative to it land inside that region. Word 8 holds a
 * probe function whose first 32 code bytes carry two addresses, at byte offsets 11 and 24.
 */
#ifndef SIM_PANELS_H
#define SIM_PANELS_H

#include <stdint.h>

#include "sim_driver.h"

#ifdef __cplusplus
extern "C" {
#endif

#define SIM_PANELS_WORDS 128
#define SIM_PANELS_REGION_SIZE 0x31000u
#define SIM_PANELS_LOOKUP_OFFSET 0x309F0u /* the lookup's place in the code region */
#define SIM_PANELS_PATCH_BYTES 17
#define SIM_PANELS_PATCH_ALL 0x1FFFFu /* SimPanelsPatchMask when every byte arrived */

/* The word at the first probe address (query 1000 reads it). */
#define SIM_PANELS_AIRCRAFT_VALUE 0x0A320B73u
/* The text 436 bytes into the aircraft object that the second probe address leads to. */
#define SIM_PANELS_AIRCRAFT_PATH "Aircraft\\Standin Trainer\\trainer"
#define SIM_PANELS_AIRCRAFT_TEXT_OFFSET 436

typedef struct SimPanelsStats {
    uint32_t lookups; /* calls of the stand-in's own lookup */
    uint32_t unknown; /* of them, tokens no source answered (value set to 0.0) */
    int32_t last_token;
    uint32_t original_lookup; /* what word 40 held when PANELS.DLL was loaded */
    uint32_t region;          /* base of the code region */
} SimPanelsStats;

/* "SimPanelsPatchMask": bit i set when patch byte i holds its expected value (bytes 2 to 5:
 * the address of Linkage word 40, least significant first). */
typedef uint32_t(SIM_STDCALL* SimPanelsPatchMaskFn)(void);
/* "SimPanelsPatchBytes": the 17 bytes now at the patch offsets, in table order. */
typedef void(SIM_STDCALL* SimPanelsPatchBytesFn)(uint8_t* out17);
/* "SimPanelsGetStats". */
typedef void(SIM_STDCALL* SimPanelsGetStatsFn)(SimPanelsStats* out);
/* "SimPanelsSetLookupDelay": from now on every lookup made off the main thread sleeps `ms`
 * milliseconds first (0: none), holding the panel system's lookup lock meanwhile, as the
 * simulator's own lookup holds its locks: a worker killed inside one leaves the lock held. */
typedef void(SIM_STDCALL* SimPanelsSetLookupDelayFn)(uint32_t ms);
/* "SimPanelsLookupsInProgress": lookups started and not yet returned. */
typedef uint32_t(SIM_STDCALL* SimPanelsLookupsInProgressFn)(void);
/* "SimPanelsLookupLockFree": 1 when the lookup lock can be taken now (it is taken and given
 * back at once), 0 when another thread holds it, or a thread that ended holding it. */
typedef uint32_t(SIM_STDCALL* SimPanelsLookupLockFreeFn)(void);
/* "SimPanelsWatchProcessEnd": at the process's end (a detach with its third argument set)
 * PANELS.DLL checks that word 40 of `table` still holds what it holds now, and ends the
 * process with exit code 99 if not: the service module, detached just before, wrote it. */
typedef void(SIM_STDCALL* SimPanelsWatchProcessEndFn)(void* const* table);
/* "SimPanelsWorkerCycles": bursts of lookups made off the main thread, a burst being
 * lookups less than 5 ms apart: the air-data worker's cycles. */
typedef uint32_t(SIM_STDCALL* SimPanelsWorkerCyclesFn)(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* SIM_PANELS_H */
