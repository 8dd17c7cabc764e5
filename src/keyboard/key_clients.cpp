// The key-client registry and the client lifecycle: register, enable, disable, unregister.
#include "keyboard/key_clients.h"

#include "keyboard/key_grammar.h"
#include "keyboard/keyboard.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "runtime/module_values.h"

namespace keyboard {
namespace {

KeyClientRegistry registry;

// Hot keys carry only the four modifier bits; others may sit in a binding from AddKeyCommand.
constexpr uint32_t kHotKeyModifierMask = 0xF;

void Disable(KeyClient& client) {
    if (!client.enabled || client.window == nullptr)
        return;
    UnregisterClientHotKeys(client);
    client.enabled = false;
    client.window = nullptr;
    client.queue.Clear();
}

}  // namespace

void Load() {
    registry.Clear();
}

void Unload() {
    // No platform call here: hot keys and atoms of clients still registered go with the
    // process. The records themselves are unreachable from now on, so they are freed.
    registry.Clear();
}

KeyClientRegistry::Snapshot KeyClients() {
    return registry.Read();
}

KeyClient* FindKeyClient(uint32_t handle) {
    return registry.Find(handle);
}

bool KeyBindingAt(const KeyClient& client, size_t index, MdnKeyBinding* binding, char* key_text) {
    if (index >= client.bindings.size())
        return false;
    *binding = client.bindings[index];
    FormatKeyText(binding->modifiers, binding->virtual_key, key_text);
    return true;
}

void RegisterClientHotKeys(const KeyClient& client) {
    for (const MdnKeyBinding& b : client.bindings) {
        if (b.virtual_key == 0)
            continue;
        platform::RegisterHotKey(client.window, b.command, b.modifiers & kHotKeyModifierMask,
                                 static_cast<UINT>(b.virtual_key));
    }
}

void UnregisterClientHotKeys(const KeyClient& client) {
    for (const MdnKeyBinding& b : client.bindings) {
        if (b.virtual_key == 0)
            continue;
        platform::UnregisterHotKey(client.window, b.command);
    }
}

uint32_t MDN_STDCALL RegisterKeyClient(MdnKeyClientCallback callback) {
    if (callback == nullptr)
        return 0;
    const uint32_t handle = KeyClientRegistry::HandleOf(callback);
    if (FindKeyClient(handle) != nullptr)
        return handle;
    return registry.Add(callback, [callback](KeyClient& client) { client.callback = callback; });
}

uint32_t MDN_STDCALL UnregisterKeyClient(uint32_t handle) {
    KeyClient* client = FindKeyClient(handle);
    if (client == nullptr)
        return 0;
    Disable(*client);
    // Every command id goes, with or without a key, so the names can be bound again.
    for (const MdnKeyBinding& b : client->bindings)
        platform::DeleteAtom(b.command);
    registry.Remove(client);
    return 1;
}

uint32_t MDN_STDCALL EnableKeyClient(uint32_t handle) {
    HWND window = runtime::SimulatorWindow();
    if (window == nullptr)
        return 0;
    KeyClient* client = FindKeyClient(handle);
    if (client == nullptr)
        return 0;
    if (client->enabled)
        return 1;
    client->window = window;
    RegisterClientHotKeys(*client);
    client->enabled = true;
    return 1;
}

uint32_t MDN_STDCALL DisableKeyClient(uint32_t handle) {
    KeyClient* client = FindKeyClient(handle);
    if (client == nullptr || !client->enabled || client->window == nullptr)
        return 0;
    Disable(*client);
    return 1;
}

}  // namespace keyboard
