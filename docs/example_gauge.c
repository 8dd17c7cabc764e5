/* example_gauge.c: a small gauge in plain C (C89) that uses the Meridane service module.
 *
 * It answers a token of its own (65600, the fuel it has counted) to every instrument that
 * looks it up through the simulator, and counts the presses of its key CTRL+SHIFT+F4.
 *
 * Build (32-bit, like the simulator), from the top of the source tree, as one command:
 *   i686-w64-mingw32-gcc -std=c89 -O2 -shared -static-libgcc -Iinclude -Isim/include
 *       -Wl,--kill-at -o example_gauge_c.dll docs/example_gauge.c
 * (Visual C++ 6 or later: cl /LD /Iinclude /Isim\include docs\example_gauge.c user32.lib)
 * Try it against the module without the simulator:
 *   scripts/run --gauge example_gauge_c.dll
 */
#include <windows.h>

#include "mdnsrv.h"
#include "sim_driver.h" /* only for GaugeRun below: the stand-in simulator's way to drive it */

#define EXAMPLE_TOKEN 65600u

static const MdnOperationTable* mdn = NULL; /* the module's operations; null without it */
static uint32_t key_client = 0;
static uint32_t range_handler = 0;
static uint32_t presses = 0;

/* Called by the module on the simulator's main thread after our commands were queued. */
static void MDN_STDCALL OnKeyCommands(void) {
    char name[64];
    while (mdn->NextKeyEvent(key_client, name, NULL) == 1) {
        if (lstrcmpiA(name, "EXAMPLE_C_COUNT") == 0)
            ++presses;
    }
}

/* Called on whatever thread looks a variable up: answer our token, quickly, without locks. */
static uint32_t MDN_STDCALL OnLookup(MdnVariableQuery* query) {
    if ((uint32_t)query->token != EXAMPLE_TOKEN)
        return 0;
    query->value.f64 = 12.5 * (double)presses;
    return 1;
}

/* The gauge's life: the panel system calls these on its main thread. */
int ExampleInit(void) {
    HMODULE module = GetModuleHandleA(MDN_MODULE_FILE_NAME);
    /* The export is data; through an integer, as ISO C has no cast from a function address. */
    const MdnServiceObject* service =
        module ? (const MdnServiceObject*)(size_t)GetProcAddress(module, MDN_SERVICE_SYMBOL) : NULL;
    char key[] = "ctrl+shift+f4"; /* upper-cased in place, so a writable buffer */
    if (service == NULL)
        return 0; /* no module: the gauge works on its own */
    mdn = service->table;

    key_client = mdn->RegisterKeyClient(&OnKeyCommands);
    mdn->BindKeyCommand(key_client, "EXAMPLE_C_COUNT", key);
    mdn->EnableKeyClient(key_client);
    range_handler = mdn->RegisterRangeHandler(&OnLookup, EXAMPLE_TOKEN, EXAMPLE_TOKEN);
    return key_client != 0 && range_handler != 0;
}

void ExampleExit(void) {
    if (mdn == NULL)
        return;
    /* Nothing of ours may stay registered once the DLL is gone. */
    mdn->UnregisterRangeHandler(range_handler);
    mdn->UnregisterKeyClient(key_client);
    mdn = NULL;
}

/* Under the stand-in simulator (fs9.exe --gauge example_gauge_c.dll) this plays the panel
 * system and an instrument: it initialises the gauge, presses its key twice, looks the
 * token up as the simulator's instruments do, and ends the gauge. */
SIM_GAUGE_ENTRY {
    double fuel = -1.0;
    uint32_t answered;
    if (!ExampleInit()) {
        driver->Log(mdn ? "example (C): the module refused the client or the handler"
                        : "example (C): the module is not there");
        ExampleExit();
        return 0;
    }
    /* Tokens reach range handlers once the module has linked to the simulator. */
    driver->PumpUntilTicks(1, 5000);
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F4);
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F4);
    answered = driver->LookupVariable((int32_t)EXAMPLE_TOKEN, &fuel, NULL);
    SimCheckU32(driver, "example (C): key presses counted", 2, presses);
    SimCheckU32(driver, "example (C): token answered", 1, answered);
    SimCheckNear(driver, "example (C): token value", 25.0, fuel, 0.0);
    ExampleExit();
    return 0;
}
