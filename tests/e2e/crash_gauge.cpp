// A gauge that misbehaves, to see the stand-in report it: setting fault=crash (an access
// violation in the gauge's own code), fault=hang (never returns), fault=module (an operation
// handed pixels at an address nobody can read, so the fault lies in MdnSrv.dll), fault=leave
// (returns with a key client, a navigation device and a range handler still registered, and
// a device whose name was taken, which registers nothing), fault=key (CTRL+SHIFT+F7 goes to a
// key client callback that crashes, or with key=hang never returns, once the scenario
// presses it), fault=pin (keeps MdnSrv.dll loaded after the simulator lets it go).
#include "e2e_support.h"
#include "mdnsrv.h"

namespace {

void MDN_STDCALL NoCommands() {}
void MDN_STDCALL NoActivation() {}
uint32_t MDN_STDCALL NoTokens(MdnVariableQuery*) {
    return 0;
}

volatile uint32_t* volatile key_target = nullptr;
volatile bool key_hangs = false;
void MDN_STDCALL OnKey() {
    while (key_hangs)
        Sleep(50);
    *key_target = 1;
}

const MdnOperationTable* Operations() {
    HMODULE module = GetModuleHandleA(MDN_MODULE_FILE_NAME);
    const auto* service =
        module ? reinterpret_cast<const MdnServiceObject*>(GetProcAddress(module, "MdnSrv"))
               : nullptr;
    return service ? service->table : nullptr;
}

}  // namespace

SIM_GAUGE_ENTRY {
    const char* fault = e2e::SettingOr(driver, "fault", "crash");
    driver->Pump(100);
    if (std::strcmp(fault, "hang") == 0) {
        for (;;)
            Sleep(50);
    }
    const MdnOperationTable* mdn = Operations();
    if (std::strcmp(fault, "leave") == 0 && mdn) {
        mdn->RegisterKeyClient(&NoCommands);
        mdn->RegisterNavDevice(&NoActivation, "Crash Gauge Device", "CRASH");
        mdn->RegisterRangeHandler(&NoTokens, 70000, 70009);
        // The name is the other device's: a handle comes back, but nothing is registered.
        mdn->RegisterNavDevice(&NoCommands, "Crash Gauge Device", "TAKEN");
        return 0;
    }
    if (std::strcmp(fault, "key") == 0 && mdn) {
        key_hangs = std::strcmp(e2e::SettingOr(driver, "key", "crash"), "hang") == 0;
        const uint32_t client = mdn->RegisterKeyClient(&OnKey);
        mdn->AddKeyCommand(client, "CRASH_GAUGE_KEY", MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F7);
        mdn->EnableKeyClient(client);
        return 0;
    }
    if (std::strcmp(fault, "pin") == 0) {
        LoadLibraryA(MDN_MODULE_FILE_NAME);
        return 0;
    }
    // An address in the never-mapped first page, hidden from the compiler.
    const uintptr_t nowhere_address = driver->Now() & 0xC;
    if (std::strcmp(fault, "module") == 0 && mdn) {
        // A texture whose pixels are nowhere: the module reads them, nothing can check that.
        static uint16_t pixels[16 * 16];
        const MdnSurface texture = {reinterpret_cast<uint16_t*>(nowhere_address + 0x100), 256, 256,
                                    512};
        const MdnSurface window = {pixels, 16, 16, 32};
        mdn->RotateBitmap(&texture, &window, 0.0f);
    }
    volatile uint32_t* nowhere = reinterpret_cast<volatile uint32_t*>(nowhere_address);
    *nowhere = 1;
    return 0;
}
