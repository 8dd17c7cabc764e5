// The air-data computer and its named shared block.
#pragma once

#include <cstdint>

#include "mdnsrv.h"

namespace airdata {

// Created when the module is loaded, before start-up; true when the block is mapped.
bool CreateBlock();
// Destroyed when the module is unloaded.
void DestroyBlock();
// The mapped block, or null when it could not be created.
MdnAirDataBlock* Block();
// How the last CreateBlock went, in words: created, taken over from a reader, or absent and
// the system's error.
const char* BlockOriginText();

// One pass of the worker (MDNADC::Pass, run every 33 ms): all panel variables are read,
// then the block is rewritten field by field in offset order. Without a block, or before the
// simulator has handed over the panels entries it needs, it reads and writes nothing.
void Cycle();
// The worker's variable query records back to their load-time state: token numbers set,
// everything else zero. Part of CreateBlock.
void ResetQueryRecords();

// A radio frequency given as four binary-coded decimal digits, in MHz: 0x2227 is 122.275.
double DecodeFrequency(uint32_t digits);

}  // namespace airdata

// The air-data computer's background loop (runtime/thread_wrapper.h runs it). The class holds
// no data: its one instance is the receiver of the work function.
class MDNADC {
  public:
    static constexpr uint32_t kPeriodMs = 33;
    void Pass();  // one cycle of air data
};
