// Fake system hot keys and asynchronous key state. A combination is held by one hot key at a
// time, whoever registered it; registering an id again for the same window replaces its
// combination, as Windows does.
#include <algorithm>
#include <bitset>

#include "area.h"
#include "flag_names.h"
#include "platform/fake_user.h"
#include "platform/user.h"
#include "platform/win_errors.h"

namespace fake {
namespace {

constexpr UINT kModifierBits = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;

struct State {
    std::vector<HotKey> hot_keys;
    std::bitset<256> pressed;  // pressed since the key's last GetAsyncKeyState
} state;

ResetHook reset_hot_keys([] { state = State{}; });

}  // namespace

std::vector<HotKey> RegisteredHotKeys() {
    return state.hot_keys;
}

void PressKey(int virtual_key) {
    if (virtual_key >= 0 && virtual_key < 256)
        state.pressed.set(static_cast<size_t>(virtual_key));
}

}  // namespace fake

namespace platform {

BOOL RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtual_key) {
    fake::Log("RegisterHotKey", window, fake::Hex(static_cast<uint32_t>(id)),
              fake::HotKeyModifiers(modifiers), virtual_key);
    auto& keys = fake::state.hot_keys;
    for (const auto& k : keys) {
        if (k.virtual_key == virtual_key &&
            (k.modifiers & fake::kModifierBits) == (modifiers & fake::kModifierBits)) {
            fake::SetLastErrorCode(ERROR_HOTKEY_ALREADY_REGISTERED);
            return FALSE;  // the combination is taken
        }
    }
    auto it = std::find_if(keys.begin(), keys.end(),
                           [&](const fake::HotKey& k) { return k.window == window && k.id == id; });
    if (it != keys.end()) {
        it->modifiers = modifiers;
        it->virtual_key = virtual_key;
    } else {
        keys.push_back(fake::HotKey{window, id, modifiers, virtual_key});
    }
    return TRUE;
}

BOOL UnregisterHotKey(HWND window, int id) {
    fake::Log("UnregisterHotKey", window, fake::Hex(static_cast<uint32_t>(id)));
    auto& keys = fake::state.hot_keys;
    auto it = std::find_if(keys.begin(), keys.end(),
                           [&](const fake::HotKey& k) { return k.window == window && k.id == id; });
    if (it == keys.end())
        return FALSE;
    keys.erase(it);
    return TRUE;
}

SHORT GetAsyncKeyState(int virtual_key) {
    fake::Log("GetAsyncKeyState", virtual_key);
    if (virtual_key < 0 || virtual_key >= 256)
        return 0;
    const size_t k = static_cast<size_t>(virtual_key);
    const bool pressed = fake::state.pressed.test(k);
    fake::state.pressed.reset(k);
    return pressed ? 1 : 0;
}

}  // namespace platform
