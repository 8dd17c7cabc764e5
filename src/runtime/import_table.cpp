#include "runtime/import_table.h"

extern "C" {

// The simulator reads the first entry's word and stores its panels function table beside it.
MdnImportEntry ImportTable[2] = {{0x0F, nullptr}, {0, nullptr}};

}  // extern "C"

namespace runtime {

void* const* PanelsFunctionTable() {
    return static_cast<void* const*>(ImportTable[0].table);
}

}  // namespace runtime
