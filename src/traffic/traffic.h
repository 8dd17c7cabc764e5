// The AI traffic provider and its dump.
#pragma once
#include <cstdint>

#include "mdnsrv.h"

namespace traffic {

// Traffic state: at load no interface, no records, connection pending; at unload the
// interface pointer and the record count go back to zero.
void Load();
void Unload();

// Slot 23.
uint32_t MDN_STDCALL GetTrafficList(MdnTrafficRecord* records);

// The own command "MDN_DUMP_TFC": refresh, append the dump, beep.
void DumpTrafficCommand();

// The provider's steps, shared by the slot, the dump command and their tests.
// 1 when the interface was obtained and the names registered; shows the failure box.
uint32_t Connect();
// Connects when still pending, asks for the aircraft ids, takes the snapshot. The last
// refresh time is the caller's affair.
void Refresh();
// Rebuilds the record table from the aircraft ids; the record count.
uint32_t Snapshot();

}  // namespace traffic
