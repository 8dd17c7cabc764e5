// The keyboard service: key clients, command bindings, hot-key dispatch, the bindings dump.
#pragma once
#include <cstdint>

#include "mdnsrv.h"

namespace keyboard {

// The key-client registry exists from load to unload; at unload only its storage is
// released (clients that gauges never unregistered are not destroyed).
void Load();
void Unload();

// Service operations, slots 2 to 10.
uint32_t MDN_STDCALL RegisterKeyClient(MdnKeyClientCallback callback);
uint32_t MDN_STDCALL UnregisterKeyClient(uint32_t client);
uint32_t MDN_STDCALL EnableKeyClient(uint32_t client);
uint32_t MDN_STDCALL DisableKeyClient(uint32_t client);
uint32_t MDN_STDCALL AddKeyCommand(uint32_t client, const char* name, uint32_t modifiers,
                                   int32_t virtual_key);
uint32_t MDN_STDCALL BindKeyCommand(uint32_t client, const char* name, char* key_text);
uint32_t MDN_STDCALL NextKeyEvent(uint32_t client, char* name, MdnKeyBinding* binding);
uint32_t MDN_STDCALL FindKeyCommand(const char* name);
uint32_t MDN_STDCALL FireKeyCommand(uint32_t command);

// Delivery from the simulator window's message hooks.
bool DispatchHotKey(uint32_t id, bool forced);
bool SuspendHotKeys();
bool ResumeHotKeys();

// Writes every binding that has a key to the simulator folder's key dump; false when the
// file could not be opened.
bool DumpKeyBindings();

}  // namespace keyboard
