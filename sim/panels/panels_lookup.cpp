// The panel system's own variable lookup: asks each token source in turn; a token nobody
// knows reads 0.0, as an unknown variable does in the simulator.
#include <windows.h>

#include "panels_table.h"

namespace panels {
namespace {

volatile LONG lookups = 0;
volatile LONG unknown = 0;
volatile LONG last_token = 0;

}  // namespace

uint32_t __stdcall Lookup(MdnVariableQuery* query) {
    if (query == nullptr)
        return 0;
    const LookupInProgress in_progress;
    InterlockedIncrement(&lookups);
    InterlockedExchange(&last_token, query->token);
    for (const TokenSource* source = FirstTokenSource(); source; source = source->next()) {
        if (source->Answer(query->token, query))
            return 1;
    }
    InterlockedIncrement(&unknown);
    query->value.f64 = 0.0;
    return 0;
}

}  // namespace panels

extern "C" __declspec(dllexport) void __stdcall SimPanelsGetStats(SimPanelsStats* out) {
    if (out == nullptr)
        return;
    out->lookups = static_cast<uint32_t>(panels::lookups);
    out->unknown = static_cast<uint32_t>(panels::unknown);
    out->last_token = panels::last_token;
    out->region = static_cast<uint32_t>(panels::CodeRegionBase());
    out->original_lookup = static_cast<uint32_t>(
        panels::CodeRegionBase() ? panels::CodeRegionBase() + SIM_PANELS_LOOKUP_OFFSET : 0);
}
