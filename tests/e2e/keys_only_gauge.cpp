// A gauge as a panel has it: no GaugeRun. It sets itself up when loaded and tears down when
// unloaded, and a scenario file (keys_only_scenario.txt) drives it by key presses while it
// stays loaded. Each press of CTRL+SHIFT+F7 is counted, reported with OutputDebugStringA and
// answered as token 65700 to whoever looks it up through the simulator.
#include <windows.h>

#include <cstdio>

#include "mdnsrv.h"

namespace {

constexpr uint32_t kToken = 65700;
const MdnOperationTable* mdn = nullptr;
uint32_t client = 0, handler = 0;
volatile LONG presses = 0;

void MDN_STDCALL OnCommands() {
    char name[64];
    while (mdn->NextKeyEvent(client, name, nullptr) == 1) {
        char line[96];
        std::snprintf(line, sizeof line, "keys-only gauge: %s %ld", name,
                      static_cast<long>(InterlockedIncrement(&presses)));
        OutputDebugStringA(line);
    }
}

uint32_t MDN_STDCALL OnLookup(MdnVariableQuery* query) {
    if (static_cast<uint32_t>(query->token) != kToken)
        return 0;
    query->value.f64 = presses;
    return 1;
}

void SetUp() {
    HMODULE module = GetModuleHandleA(MDN_MODULE_FILE_NAME);
    const auto* service =
        module ? reinterpret_cast<const MdnServiceObject*>(GetProcAddress(module, "MdnSrv"))
               : nullptr;
    if (service == nullptr)
        return;
    mdn = service->table;
    client = mdn->RegisterKeyClient(&OnCommands);
    char key[] = "CTRL+SHIFT+F7";
    mdn->BindKeyCommand(client, "KEYS_ONLY_PRESS", key);
    mdn->EnableKeyClient(client);
    handler = mdn->RegisterRangeHandler(&OnLookup, kToken, kToken);
    OutputDebugStringA("keys-only gauge: set up\n");
}

void TearDown() {
    if (mdn == nullptr)
        return;
    mdn->UnregisterRangeHandler(handler);
    mdn->UnregisterKeyClient(client);
    mdn = nullptr;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        SetUp();
    else if (reason == DLL_PROCESS_DETACH)
        TearDown();
    return TRUE;
}
