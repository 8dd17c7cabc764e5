// Key clients and their registry, shared by the operations, the hot-key dispatch and the dump.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "keyboard/key_queue.h"
#include "mdnsrv.h"
#include "platform/win_types.h"
#include "runtime/callback_registry.h"

namespace keyboard {

// Command names are held in the atom table, cut to this many characters.
constexpr size_t kCommandNameLength = 63;
// Name buffers: 63 characters and the NUL.
constexpr size_t kCommandNameSize = kCommandNameLength + 1;

struct KeyClient {
    bool enabled = false;
    HWND window = nullptr;  // the simulator window, kept while enabled
    uint32_t handle = 0;    // the complement of the callback's address
    MdnKeyClientCallback callback = nullptr;
    KeyCommandQueue queue;
    std::vector<MdnKeyBinding> bindings;  // in the order they were added
};

using KeyClientRegistry = runtime::CallbackRegistry<KeyClient>;

// The registry, in registration order.
KeyClientRegistry::Snapshot KeyClients();

// The first client with that handle, or null.
KeyClient* FindKeyClient(uint32_t handle);

// Copies the binding at `index` and its key text (kKeyTextSize bytes); false past the end.
bool KeyBindingAt(const KeyClient& client, size_t index, MdnKeyBinding* binding, char* key_text);

// Hot-key registration of every binding that has a key, with the client's stored window.
void RegisterClientHotKeys(const KeyClient& client);
void UnregisterClientHotKeys(const KeyClient& client);

// Queues a copy of the client's binding with that id and calls the client's callback. Unless
// forced, the binding is taken only when its key was pressed since the last key-state query.
// Touches nothing of the client once the callback has been called, since the callback may
// unregister it.
bool DeliverHotKey(KeyClient* client, uint32_t id, bool forced);

}  // namespace keyboard
