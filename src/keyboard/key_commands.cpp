// Command bindings: named commands, their atoms and keys, and taking pressed commands.
#include <cstring>
#include <new>

#include "keyboard/key_clients.h"
#include "keyboard/key_grammar.h"
#include "keyboard/keyboard.h"
#include "platform/kernel.h"

namespace keyboard {
namespace {

// The name as the atom table sees it: its first 63 characters.
void CutName(const char* name, char* out) {
    size_t n = 0;
    while (n < kCommandNameLength && name[n] != '\0')
        ++n;
    std::memcpy(out, name, n);
    out[n] = '\0';
}

// AddKeyCommand from the enabled check on; the name and the client are already known good.
uint32_t AddBinding(KeyClient& client, const char* name, uint32_t modifiers, int32_t virtual_key) {
    if (client.enabled)
        return 0;
    char cut[kCommandNameSize];
    CutName(name, cut);
    // Held already: bound by some client, or an atom of other code of the process.
    if (platform::FindAtomA(cut) != 0)
        return 0;
    const ATOM id = platform::AddAtomA(cut);
    if (id == 0)
        return 0;
    try {
        client.bindings.push_back(MdnKeyBinding{id, 0, modifiers, virtual_key});
    } catch (const std::bad_alloc&) {
        platform::DeleteAtom(id);
        return 0;
    }
    return id;
}

}  // namespace

uint32_t MDN_STDCALL AddKeyCommand(uint32_t handle, const char* name, uint32_t modifiers,
                                   int32_t virtual_key) {
    if (name == nullptr || name[0] == '\0')
        return 0;
    KeyClient* client = FindKeyClient(handle);
    if (client == nullptr)
        return 0;
    return AddBinding(*client, name, modifiers, virtual_key);
}

uint32_t MDN_STDCALL BindKeyCommand(uint32_t handle, const char* name, char* key_text) {
    if (name == nullptr || name[0] == '\0')
        return 0;
    KeyClient* client = FindKeyClient(handle);
    if (client == nullptr)
        return 0;
    // Upper-cased in the caller's buffer; a text without lower-case letters is not written.
    const KeyCombination key = ParseBindingText(key_text);
    return AddBinding(*client, name, key.modifiers, key.virtual_key);
}

uint32_t MDN_STDCALL NextKeyEvent(uint32_t handle, char* name, MdnKeyBinding* binding) {
    KeyClient* client = FindKeyClient(handle);
    if (client == nullptr || !client->enabled || client->window == nullptr)
        return 0;
    MdnKeyBinding entry;
    if (!client->queue.Pop(&entry))
        return 0;
    if (binding != nullptr)
        *binding = entry;
    if (name != nullptr)
        platform::GetAtomNameA(entry.command, name, kCommandNameSize);
    return 1;
}

uint32_t MDN_STDCALL FindKeyCommand(const char* name) {
    if (name == nullptr || name[0] == '\0')
        return 0;
    char cut[kCommandNameSize];
    CutName(name, cut);
    const ATOM id = platform::FindAtomA(cut);
    if (id == 0)
        return 0;
    // The atom may belong to other code of the process: only a binding makes it a command.
    for (const KeyClient* client : KeyClients()) {
        for (const MdnKeyBinding& b : client->bindings) {
            if (b.command == id)
                return id;
        }
    }
    return 0;
}

}  // namespace keyboard
