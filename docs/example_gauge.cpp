// example_gauge.cpp: a small gauge that uses the Meridane service module (MdnSrv.dll).
//
// It binds a key, offers itself as a navigation device, and while it is the active device
// answers two of the simulator's navigation tokens (835 and 836) from its own data.
//
// Build (32-bit, like the simulator), from the top of the source tree, as one command:
//   i686-w64-mingw32-g++ -std=c++17 -O2 -shared -static -static-libgcc -static-libstdc++
//       -Iinclude -Isim/include -Wl,--kill-at -o example_gauge.dll docs/example_gauge.cpp
// Try it against the module without the simulator:
//   scripts/run --gauge example_gauge.dll
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "mdnsrv.h"
#include "sim_driver.h"  // only for GaugeRun below: the stand-in simulator's way to drive a gauge

namespace {

const MdnOperationTable* mdn = nullptr;  // the module's operations; null without the module
uint32_t key_client = 0;
uint32_t device = 0;
const SimDriver* sim = nullptr;  // the stand-in simulator; a real simulator has none

void Say(const char* text) {
    char line[256];
    std::snprintf(line, sizeof line, "example: %s", text);
    if (sim) {
        sim->Log(line);
    } else {
        OutputDebugStringA(line);
    }
}

// Called by the module on the simulator's main thread after one or more of our commands were
// queued. Take them all; the callback may call any keyboard operation.
void MDN_STDCALL OnKeyCommands() {
    char name[64];
    while (mdn->NextKeyEvent(key_client, name, nullptr) == 1) {
        if (std::strcmp(name, "EXAMPLE_TAKE_OVER") == 0) {
            // Selecting by name calls our activation callback.
            mdn->SelectNavDevice(0, "Example Navigator", nullptr);
        }
    }
}

// Called when our device has just become the active navigation device.
void MDN_STDCALL OnActivated() {
    Say("now the active navigation device");
}

}  // namespace

// The gauge's life: the panel system calls these three on its main thread.
bool ExampleInit() {
    HMODULE module = GetModuleHandleA(MDN_MODULE_FILE_NAME);
    const auto* service =
        module
            ? reinterpret_cast<const MdnServiceObject*>(GetProcAddress(module, MDN_SERVICE_SYMBOL))
            : nullptr;
    if (service == nullptr)
        return false;  // no module: the gauge works on its own
    mdn = service->table;

    key_client = mdn->RegisterKeyClient(&OnKeyCommands);
    char key[] = "CTRL+SHIFT+F3";  // upper-cased in place, so a writable buffer
    mdn->BindKeyCommand(key_client, "EXAMPLE_TAKE_OVER", key);
    mdn->EnableKeyClient(key_client);  // the key becomes a hot key of the simulator window

    device = mdn->RegisterNavDevice(&OnActivated, "Example Navigator", "EXNAV");
    return key_client != 0 && device != 0;
}

void ExampleUpdate(double course, double distance_nm) {
    if (mdn == nullptr)
        return;
    MdnPanelsHookState* state = mdn->GetPanelsHookState();
    const bool active = mdn->IsNavDeviceActive(device) == 1;
    // Only the active gauge fills the block; the module reads it only while a gauge is active.
    if (active) {
        state->value835 = course;
        state->value836 = distance_nm;
        state->enable = 1;
    }
}

void ExampleExit() {
    if (mdn == nullptr)
        return;
    mdn->UnregisterNavDevice(device);  // hands navigation back to the simulator's GPS
    mdn->UnregisterKeyClient(key_client);
    mdn = nullptr;
}

// Under the stand-in simulator (fs9.exe --gauge example_gauge.dll) this plays the panel
// system: it initialises the gauge, presses its key, updates it for a while and ends it.
SIM_GAUGE_ENTRY {
    sim = driver;
    if (!ExampleInit()) {
        Say(mdn ? "the module refused the key client or the device" : "the module is not there");
        ExampleExit();
        return 0;
    }
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F3);
    for (int frame = 0; frame < 10; ++frame) {
        ExampleUpdate(62.0, 12.5 - frame * 0.1);
        driver->Pump(55);  // about 18 frames a second
    }
    char line[128];
    std::snprintf(line, sizeof line, "%s active after the key press",
                  mdn->IsNavDeviceActive(device) == 1 ? "is" : "is not");
    Say(line);
    ExampleExit();
    sim = nullptr;
    return 0;
}
