// The simulator's import table: the exported record in which the simulator stores the address
// of its panels function table after loading the module. Entries of that table are counted in
// 32-bit words from 0 and each removes its own arguments (simulator_layout.h names them).
#pragma once
#include <cstdint>

#include "mdnsrv.h"
#include "runtime/simulator_layout.h"

extern "C" {
extern MdnImportEntry ImportTable[2];
}

namespace runtime {

// Null until the simulator has filled ImportTable.
void* const* PanelsFunctionTable();

// Entry `index` as a function of type F, or null while the table or the entry is missing.
template <class F>
F PanelsEntry(unsigned index) {
    void* const* table = PanelsFunctionTable();
    return table ? reinterpret_cast<F>(table[index]) : nullptr;
}

}  // namespace runtime
