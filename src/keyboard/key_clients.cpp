// The key-client registry and the client lifecycle: register, enable, disable, unregister.
#include "keyboard/key_clients.h"

#include "keyboard/key_grammar.h"
#include "keyboard/keyboard.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "runtime/module_values.h"
#include "runtime/diag_log.h"

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

bool SameCombination(const MdnKeyBinding& a, const MdnKeyBinding& b) {
    return a.virtual_key == b.virtual_key &&
           (a.modifiers & kHotKeyModifierMask) == (b.modifiers & kHotKeyModifierMask);
}

// The module's own binding that holds the refused binding's combination: one of an enabled
// client, or an earlier one of the client being registered. Null when none does.
const MdnKeyBinding* HolderInModule(const KeyClient& client, const MdnKeyBinding& refused) {
    for (const KeyClient* other : registry.Read()) {
        if (other != &client && (!other->enabled || other->window == nullptr))
            continue;
        for (const MdnKeyBinding& b : other->bindings) {
            if (&b == &refused)
                break;  // the client's later bindings are not registered yet
            if (SameCombination(b, refused))
                return &b;
        }
    }
    return nullptr;
}

// A refused hot key leaves the binding in place: the command just never arrives by key.
void LogRefusedHotKey(const KeyClient& client, const MdnKeyBinding& b, DWORD error) {
    char name[kCommandNameSize] = "";
    platform::GetAtomNameA(b.command, name, sizeof name);
    char key_text[kKeyTextSize];
    FormatKeyText(b.modifiers, b.virtual_key, key_text);
    const MdnKeyBinding* holder = HolderInModule(client, b);
    char holder_name[kCommandNameSize] = "";
    if (holder != nullptr)
        platform::GetAtomNameA(holder->command, holder_name, sizeof holder_name);
    MDN_LOG("hot key %s for command %s refused by Windows (error %lu): %s%s holds the combination",
            runtime::LogText(key_text).c_str(), runtime::LogText(name).c_str(),
            static_cast<unsigned long>(error),
            holder != nullptr ? "the module's command " : "another program",
            holder != nullptr ? runtime::LogText(holder_name).c_str() : "");
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
        if (!platform::RegisterHotKey(client.window, b.command, b.modifiers & kHotKeyModifierMask,
                                      static_cast<UINT>(b.virtual_key)) &&
            runtime::LogOn()) {
            LogRefusedHotKey(client, b, platform::GetLastError());
        }
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
        return MDN_WHY("no callback"), 0;
    const uint32_t handle = KeyClientRegistry::HandleOf(callback);
    if (FindKeyClient(handle) != nullptr)
        return MDN_WHY("did nothing: that callback is a key client already"), handle;
    return registry.Add(callback, [callback](KeyClient& client) { client.callback = callback; });
}

uint32_t MDN_STDCALL UnregisterKeyClient(uint32_t handle) {
    KeyClient* client = FindKeyClient(handle);
    if (client == nullptr)
        return MDN_WHY("unknown key client handle"), 0;
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
        return MDN_WHY("no simulator window"), 0;
    KeyClient* client = FindKeyClient(handle);
    if (client == nullptr)
        return MDN_WHY("unknown key client handle"), 0;
    if (client->enabled)
        return MDN_WHY("did nothing: the client is enabled already"), 1;
    client->window = window;
    RegisterClientHotKeys(*client);
    client->enabled = true;
    return 1;
}

uint32_t MDN_STDCALL DisableKeyClient(uint32_t handle) {
    KeyClient* client = FindKeyClient(handle);
    if (client == nullptr)
        return MDN_WHY("unknown key client handle"), 0;
    if (!client->enabled || client->window == nullptr)
        return MDN_WHY("the client is not enabled"), 0;
    Disable(*client);
    return 1;
}

}  // namespace keyboard
