// The simulator's panels function table, whose address the simulator stores in the
// module's ImportTable after loading it. Entries are counted in 32-bit words from 0 and
// each removes its own arguments.
#pragma once
#include <cstdint>

#include "mdnsrv.h"

namespace service {

// Null until the simulator has filled ImportTable.
void* const* PanelsFunctionTable();

// Entry `index` as a function of type F, or null while the table or the entry is missing.
template <class F>
F PanelsEntry(unsigned index) {
    void* const* table = PanelsFunctionTable();
    return table ? reinterpret_cast<F>(table[index]) : nullptr;
}

// Panels table entries the module calls.
using NamedVariableFn = void(MDN_STDCALL*)(MdnVariableQuery* record, const char* name);
using VariableLookupFn = uint32_t(MDN_STDCALL*)(MdnVariableQuery* record);
using UnitIdFn = int32_t(MDN_STDCALL*)(const char* unit_name);
using AircraftVariableFn = double(MDN_STDCALL*)(int32_t variable, int32_t unit, int32_t index);
using RegisteredObjectFn = void*(MDN_STDCALL*)(const char* name);

enum PanelsEntryIndex : unsigned {
    kPanelsCodeProbe = 8,
    kPanelsNamedVariable = 39,
    kPanelsVariableLookup = 40,
    kPanelsUnitId = 73,
    kPanelsAircraftVariable = 75,
    kPanelsRegisteredObject = 77,
};

}  // namespace service
