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

}  // namespace traffic
