// Every layout the module shares with the simulator it runs in, as far as the module reads or
// calls it. The stand-in simulator builds its modules from this same header, so the two sides
// cannot drift apart; the gauges' records are in mdnsrv.h.
#pragma once
#include <cstddef>
#include <cstdint>

#include "mdnsrv.h"

namespace runtime {

// ---- the panels function table -------------------------------------------------------------

// Entries of the panels function table (also PANELS.DLL's Linkage record) the module uses.
enum PanelsEntryIndex : unsigned {
    kPanelsCodeProbe = 8,        // code whose bytes 11 and 24 hold two aircraft words
    kPanelsNamedVariable = 39,   // finds a named variable block ("FS2002 GPS DATA")
    kPanelsVariableLookup = 40,  // the panel-variable lookup the panels hook replaces
    kPanelsUnitId = 73,
    kPanelsAircraftVariable = 75,
    kPanelsRegisteredObject = 77,  // finds a registered object ("ITrafficInfo")
};

using NamedVariableFn = void(MDN_STDCALL*)(MdnVariableQuery* record, const char* name);
using VariableLookupFn = uint32_t(MDN_STDCALL*)(MdnVariableQuery* record);
using UnitIdFn = int32_t(MDN_STDCALL*)(const char* unit_name);
using AircraftVariableFn = double(MDN_STDCALL*)(int32_t variable, int32_t unit, int32_t index);
using RegisteredObjectFn = void*(MDN_STDCALL*)(const char* name);

// The code probe's first 32 bytes hold the two aircraft information words, little-endian, at
// these byte offsets (the first unaligned).
constexpr size_t kCodeProbeBytes = 32;
constexpr size_t kCodeProbeFirstWord = 11;
constexpr size_t kCodeProbeSecondWord = 24;

// ---- GLOBAL.DLL ----------------------------------------------------------------------------

// The simulator global record lies this many bytes into GLOBAL.DLL's Linkage export.
constexpr size_t kGlobalRecordOffset = 620;

}  // namespace runtime
