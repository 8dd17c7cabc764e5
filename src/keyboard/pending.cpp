// Keyboard operations not yet built: each gives its failure result.
#include "keyboard/keyboard.h"

namespace keyboard {

void Load() {}
void Unload() {}
uint32_t MDN_STDCALL RegisterKeyClient(MdnKeyClientCallback) { return 0; }
uint32_t MDN_STDCALL UnregisterKeyClient(uint32_t) { return 0; }
uint32_t MDN_STDCALL EnableKeyClient(uint32_t) { return 0; }
uint32_t MDN_STDCALL DisableKeyClient(uint32_t) { return 0; }
uint32_t MDN_STDCALL AddKeyCommand(uint32_t, const char*, uint32_t, int32_t) { return 0; }
uint32_t MDN_STDCALL BindKeyCommand(uint32_t, const char*, char*) { return 0; }
uint32_t MDN_STDCALL NextKeyEvent(uint32_t, char*, MdnKeyBinding*) { return 0; }
uint32_t MDN_STDCALL FindKeyCommand(const char*) { return 0; }
uint32_t MDN_STDCALL FireKeyCommand(uint32_t) { return 0; }
bool DispatchHotKey(uint32_t, bool) { return false; }
bool SuspendHotKeys() { return true; }
bool ResumeHotKeys() { return true; }
bool DumpKeyBindings() { return false; }

}  // namespace keyboard
