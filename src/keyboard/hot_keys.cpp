// Delivery of hot-key presses to key clients, and withdrawing hot keys in the background.
#include "keyboard/key_clients.h"
#include "keyboard/keyboard.h"
#include "platform/user.h"
#include "runtime/diag_log.h"

namespace keyboard {

bool DeliverHotKey(KeyClient* client, uint32_t id, bool forced) {
    if (!client->enabled || client->window == nullptr)
        return false;
    const MdnKeyBinding* taken = nullptr;
    for (const MdnKeyBinding& b : client->bindings) {
        if (b.command != id)
            continue;
        // A message seen twice for one press finds the key-state bit already cleared.
        if (forced || (platform::GetAsyncKeyState(b.virtual_key) & 1) != 0) {
            taken = &b;
            break;
        }
    }
    if (taken == nullptr)
        return false;
    client->queue.Push(*taken);  // a full queue drops the press; the callback still runs
    const MdnKeyClientCallback callback = client->callback;
    if (!client->queue.Empty() && callback != nullptr)
        callback();
    return true;
}

bool DispatchHotKey(uint32_t id, bool forced) {
    const auto& clients = KeyClients();
    for (size_t i = 0; i < clients.size(); ++i) {
        // The callback may change the registry: nothing of it is touched after a delivery.
        if (DeliverHotKey(clients[i], id, forced))
            return true;
    }
    return false;
}

bool SuspendHotKeys() {
    for (const KeyClient* client : KeyClients()) {
        if (client->enabled)
            UnregisterClientHotKeys(*client);
    }
    return true;
}

bool ResumeHotKeys() {
    for (const KeyClient* client : KeyClients()) {
        if (client->enabled)
            RegisterClientHotKeys(*client);
    }
    return true;
}

uint32_t MDN_STDCALL FireKeyCommand(uint32_t command) {
    if (DispatchHotKey(command & 0xFFFF, true))
        return 1;
    return MDN_WHY("no enabled key client has a command with id 0x%04X",
                   static_cast<unsigned>(command & 0xFFFF)),
           0;
}

}  // namespace keyboard
