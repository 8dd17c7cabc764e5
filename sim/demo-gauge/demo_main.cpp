// The demo gauge's entry point: finds the module as every gauge does, waits for the module to
// link to the simulator, then runs each family of operations.
#include <cstdarg>
#include <cstdio>

#include "demo.h"

namespace demo {

void Report(const Context& c, const char* format, ...) {
    char text[1024] = "demo: ";
    va_list args;
    va_start(args, format);
    std::vsnprintf(text + 6, sizeof text - 6, format, args);
    va_end(args);
    c.driver->Log(text);
}

MdnVariableQuery Lookup(const Context& c, int32_t token) {
    MdnVariableQuery query{};
    query.token = token;
    void* const* table = c.driver->PanelsTable();
    using LookupFn = uint32_t(MDN_STDCALL*)(MdnVariableQuery*);
    auto lookup = table ? reinterpret_cast<LookupFn>(table[40]) : nullptr;
    if (lookup)
        lookup(&query);
    return query;
}

void OutputPath(const Context& c, const char* name, char* out, size_t size) {
    std::snprintf(out, size, "%s\\%s", c.driver->output_folder, name);
}

}  // namespace demo

SIM_GAUGE_ENTRY {
    HMODULE module = GetModuleHandleA(MDN_MODULE_FILE_NAME);
    const auto* service =
        module
            ? reinterpret_cast<const MdnServiceObject*>(GetProcAddress(module, MDN_SERVICE_SYMBOL))
            : nullptr;
    if (service == nullptr || service->table == nullptr) {
        driver->Log("demo: MdnSrv.dll is not loaded: nothing to show");
        return 0;
    }
    const demo::Context c{driver, service->table};
    uint32_t version = 0;
    c.ops->ServiceQuery(MDN_QUERY_VERSION, &version);
    demo::Report(c, "MdnSrv.dll found, version 0x%08lX", static_cast<unsigned long>(version));
    const uint32_t ticks = driver->PumpUntilTicks(1, 5000);
    demo::Report(c, "linked to the simulator after %lu link timer tick(s)",
                 static_cast<unsigned long>(ticks));

    demo::Keys(c);
    demo::Navigation(c);
    demo::Queries(c);
    demo::Traffic(c);
    demo::Pictures(c);
    demo::AirData(c);
    demo::Dumps(c);
    demo::Finish(c);
    demo::Report(c, "done");
    return 0;
}
