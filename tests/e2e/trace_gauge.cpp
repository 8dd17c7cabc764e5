// Calls the module refuses, one of each family, and one it answers as if it succeeded yet does
// nothing; fs9.exe --trace must print the module's line for each (the test's PASS_REGEX).
#include "e2e_support.h"
#include "mdnsrv.h"

namespace {

void MDN_STDCALL Keys() {}
void MDN_STDCALL Device() {}
void MDN_STDCALL OtherDevice() {}
uint32_t MDN_STDCALL Handler(MdnVariableQuery*) {
    return 0;
}

}  // namespace

SIM_GAUGE_ENTRY {
    const auto* service = reinterpret_cast<const MdnServiceObject*>(
        GetProcAddress(static_cast<HMODULE>(driver->module), MDN_SERVICE_SYMBOL));
    if (service == nullptr || service->table == nullptr)
        return driver->Check(false, "the service object", "found", "missing"), 0;
    const MdnOperationTable& ops = *service->table;

    const uint32_t client = ops.RegisterKeyClient(&Keys);
    ops.EnableKeyClient(client);
    SimCheckU32(driver, "keyboard: a command added to an enabled client", 0,
                ops.AddKeyCommand(client, "TRACE_CMD", MDN_MOD_CTRL, 0x70));
    const uint32_t device = ops.RegisterNavDevice(&Device, "Trace GPS", "TRC");
    SimCheckU32(driver, "navigation: a long name taken gives the caller its own handle",
                ~static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&OtherDevice)),
                ops.RegisterNavDevice(&OtherDevice, "Trace GPS", "OTHER"));
    SimCheckU32(driver, "navigation: an unknown device", 0, ops.UnregisterNavDevice(0x1234));
    ops.RegisterRangeHandler(&Handler, 100, 200);  // below the custom tokens: never offered
    uint32_t word = 0;
    SimCheckU32(driver, "queries: an unknown id", 0, ops.ServiceQuery(4242, &word));
    SimCheckU32(driver, "traffic: no buffer", 0, ops.GetTrafficList(nullptr));
    SimCheckU32(driver, "bitmap: an alignment that is no power of two", 0,
                ops.AcquireWorkBuffer(64, 3) != nullptr);
    ops.UnregisterNavDevice(device);
    ops.UnregisterKeyClient(client);
    return 0;
}
