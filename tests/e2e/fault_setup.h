// Faults the fault gauge makes itself, around loading the module (see fault_gauge.cpp).
#pragma once
#include <cstdint>

#include "sim_driver.h"

namespace fault {

// Settings: lock_settings=1 (the settings file held open exclusively), lock_traffic_dump=1
// (C:\dbgFsAiTfc.txt likewise), region=small|large|mutex (the shared-memory name taken by a
// region of 64 or 8192 bytes, or by a mutex), registry=closed (the simulator's registry key
// refuses the all-access open), traffic_object=none|no_query|bad_table (no ITrafficInfo
// object, or a broken one, registered in place of the traffic module's).
void BeforeModule(const SimDriver* d);
// Opens the registry key again: the module has read it by now.
void AfterModuleLoaded(const SimDriver* d);
void AfterTest(const SimDriver* d);

// The size of C:\dbgFsAiTfc.txt now (0 when missing).
uint64_t TrafficDumpSize();
// True when the air-data block the module writes is what a reader of the name sees: the
// time of day has moved off zero.
bool AirDataPublished();

}  // namespace fault
