// The module's three exported records as the simulator and a gauge read them.
#include "e2e_support.h"
#include "mdnsrv.h"

using e2e::InImage;

SIM_GAUGE_ENTRY {
    HMODULE module = GetModuleHandleA(MDN_MODULE_FILE_NAME);
    driver->Check(module != nullptr && module == driver->module, "MdnSrv.dll is loaded", "loaded",
                  module ? "loaded" : "not loaded");
    if (module == nullptr)
        return 1;

    const auto* linkage = reinterpret_cast<const MdnLinkage*>(GetProcAddress(module, "Linkage"));
    const auto* imports =
        reinterpret_cast<const MdnImportEntry*>(GetProcAddress(module, "ImportTable"));
    const auto* service =
        reinterpret_cast<const MdnServiceObject*>(GetProcAddress(module, MDN_SERVICE_SYMBOL));
    driver->Check(linkage && imports && service, "undecorated exports Linkage, ImportTable, MdnSrv",
                  "all three", linkage && imports && service ? "all three" : "missing");
    if (!linkage || !imports || !service)
        return 1;

    SimCheckHex(driver, "Linkage module id", 0x13, linkage->module_id);
    driver->Check(InImage(module, reinterpret_cast<const void*>(linkage->init)),
                  "Linkage init function in the module", "inside", "outside");
    driver->Check(linkage->deinit == linkage->init, "Linkage de-init is the init function", "same",
                  linkage->deinit == linkage->init ? "same" : "different");
    SimCheckU32(driver, "Linkage flags", 0, linkage->flags);
    SimCheckU32(driver, "Linkage priority", 0, linkage->priority);
    SimCheckHex(driver, "Linkage module version", 0x900, linkage->module_version);
    SimCheckHex(driver, "Linkage function table", 0,
                static_cast<uint32_t>(reinterpret_cast<uintptr_t>(linkage->function_table)));
    linkage->init();  // does nothing, and returns

    SimCheckHex(driver, "ImportTable[0] module id", 0x0F, imports[0].module_id);
    SimCheckHex(driver, "ImportTable[0] table (filled by the simulator)",
                static_cast<uint32_t>(reinterpret_cast<uintptr_t>(driver->PanelsTable())),
                static_cast<uint32_t>(reinterpret_cast<uintptr_t>(imports[0].table)));
    SimCheckHex(driver, "ImportTable terminator id", 0, imports[1].module_id);
    SimCheckHex(driver, "ImportTable terminator table", 0,
                static_cast<uint32_t>(reinterpret_cast<uintptr_t>(imports[1].table)));

    const MdnOperationTable* table = service->table;
    driver->Check(InImage(module, table), "operation table inside the module", "inside",
                  table ? "outside" : "null");
    if (table == nullptr)
        return 1;
    const auto* words = reinterpret_cast<const uint32_t*>(table);
    uint32_t non_null = 0, inside = 0, zero_after = 0;
    for (int slot = 0; slot < MDN_SLOT_COUNT; ++slot) {
        non_null += words[slot] != 0;
        inside += InImage(module, reinterpret_cast<const void*>(words[slot]));
    }
    for (int i = 0; i < MDN_TABLE_RESERVED_WORDS; ++i)
        zero_after += words[MDN_SLOT_COUNT + i] == 0;
    SimCheckU32(driver, "non-null operation slots", MDN_SLOT_COUNT, non_null);
    SimCheckU32(driver, "slots pointing into the module", MDN_SLOT_COUNT, inside);
    SimCheckU32(driver, "zero words after the 31 slots", MDN_TABLE_RESERVED_WORDS, zero_after);
    return 0;
}
