// Keyboard: a key client with two commands, one bound from text and one with an explicit key,
// pressed through the real keyboard path, fired directly, and withheld while the simulator
// is in the background.
#include <cstring>

#include "demo.h"

namespace demo {
namespace {

const Context* current = nullptr;
uint32_t client = 0;
unsigned delivered = 0;

// The key client's callback: take every queued command.
void MDN_STDCALL OnKeys() {
    char name[64];
    MdnKeyBinding binding{};
    while (current && current->ops->NextKeyEvent(client, name, &binding) == 1) {
        ++delivered;
        Report(*current, "keys: command %s arrived (id 0x%04X, modifiers 0x%lX, key 0x%02lX)", name,
               binding.command, static_cast<unsigned long>(binding.modifiers),
               static_cast<unsigned long>(binding.virtual_key));
    }
}

}  // namespace

void Keys(const Context& c) {
    current = &c;
    const MdnOperationTable& ops = *c.ops;
    client = ops.RegisterKeyClient(&OnKeys);
    Report(c, "keys: RegisterKeyClient -> handle 0x%08lX", static_cast<unsigned long>(client));

    char text[] = "ctrl+shift+f5";  // upper-cased in place by the module
    const uint32_t mark = ops.BindKeyCommand(client, "DEMO_MARK", text) & 0xFFFF;
    const uint32_t page =
        ops.AddKeyCommand(client, "DEMO_NEXT_PAGE", MDN_MOD_CTRL | MDN_MOD_ALT, VK_F6) & 0xFFFF;
    Report(c,
           "keys: DEMO_MARK bound to \"%s\" -> id 0x%04lX; DEMO_NEXT_PAGE on CTRL+ALT+F6 -> "
           "id 0x%04lX",
           text, static_cast<unsigned long>(mark), static_cast<unsigned long>(page));
    Report(c, "keys: EnableKeyClient -> %lu; FindKeyCommand(\"DEMO_MARK\") -> 0x%04lX",
           static_cast<unsigned long>(ops.EnableKeyClient(client)),
           static_cast<unsigned long>(ops.FindKeyCommand("DEMO_MARK") & 0xFFFF));

    c.driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F5);
    c.driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_ALT, VK_F6);
    c.driver->Pump(100);
    Report(c, "keys: %u command(s) delivered from two key presses", delivered);

    delivered = 0;
    const uint32_t fired = ops.FireKeyCommand(page);
    Report(c, "keys: FireKeyCommand(DEMO_NEXT_PAGE) -> %lu, %u delivered",
           static_cast<unsigned long>(fired), delivered);

    delivered = 0;
    c.driver->SetAppActive(0);
    c.driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F5);
    c.driver->Pump(100);
    Report(c, "keys: with the simulator in the background, %u delivered", delivered);
    c.driver->SetAppActive(1);
    c.driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, VK_F5);
    c.driver->Pump(100);
    Report(c, "keys: back in the foreground, %u delivered", delivered);
}

void FinishKeys(const Context& c) {
    // Disable first, then unregister: argument evaluation order is unspecified.
    const uint32_t disabled = c.ops->DisableKeyClient(client);
    const uint32_t unregistered = c.ops->UnregisterKeyClient(client);
    Report(c, "keys: DisableKeyClient -> %lu, UnregisterKeyClient -> %lu",
           static_cast<unsigned long>(disabled), static_cast<unsigned long>(unregistered));
    client = 0;
    current = nullptr;
}

}  // namespace demo
