// The simulator-internals resolver: finds four of the simulator's modules in the running
// process, takes the record each exports and derives the entry points and the gain table
// that the queries, the gain controls and the terrain map use.
#pragma once
#include <cstdint>

#include "runtime/simulator_layout.h"

namespace internals {

using runtime::ElevationFunction;
using runtime::GainEntry;
using runtime::GainSetter;
using runtime::kElevationWord;
using runtime::kGainObjectWord;
using runtime::kGainSetterWord;
using runtime::kGainTableOffset;
using runtime::kPositionAngleWord;
using runtime::PositionAngleFunction;
using runtime::SimulatorPosition;

struct ResolverState {
    uintptr_t record[4] = {};  // modules A to D; 0 while unresolved
    uint32_t resolved_count = 0;
    PositionAngleFunction position_angle = nullptr;  // record A, word 6
    void* gain_object = nullptr;                     // record C, word 312
    GainEntry* gain_table = nullptr;                 // gain object + 48
    GainSetter gain_setter = nullptr;                // word 5 of the gain object's functions
    bool gain_table_ready = false;                   // gain table and gain setter both known
    ElevationFunction elevation = nullptr;           // record D, word 12
    bool resolve_pending = true;                     // until all four modules are found
};

// Looks up every module still unresolved; true when all four are resolved.
bool ResolveSimulatorInternals();

// What every dependent caller runs first: resolves while resolve pending is set, and clears
// it for good once everything is found. Returns the state to test the item the caller needs.
const ResolverState& PrepareSimulatorInternals();

// The state as it stands, without resolving.
const ResolverState& SimulatorInternals();

// Back to the state at load: nothing resolved, resolve pending.
void ResetSimulatorInternals();

}  // namespace internals
