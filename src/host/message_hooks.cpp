// The two message hooks on the simulator's main thread. Both always pass the message on, with
// the caller's x87 settings: only the module's own work runs under its guard.
#include "host/module_state.h"
#include "host/window_integration.h"
#include "keyboard/keyboard.h"
#include "platform/user.h"
#include "runtime/x87_guard.h"

namespace host {

LRESULT CALLBACK CallWindowProcedureHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent != nullptr) {
        runtime::X87Guard x87;
        switch (sent->message) {
            case WM_ACTIVATEAPP:
                if (sent->wParam != 0) {
                    keyboard::ResumeHotKeys();
                } else {
                    keyboard::SuspendHotKeys();
                }
                break;
            case WM_NCPAINT:
                BuildTopMenu();
                break;
            case WM_INITMENU:
                BuildNavDeviceMenu();
                break;
            default:
                break;
        }
    }
    return platform::CallNextHookEx(Module().call_procedure_hook.get(), code, wParam, lParam);
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* retrieved = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && retrieved != nullptr) {
        runtime::X87Guard x87;
        switch (retrieved->message) {
            case WM_COMMAND:
                // A message examined without removal comes back when it is removed; acting
                // on both would carry a menu command out twice.
                if (wParam != 0)
                    OnMenuCommand(static_cast<uint16_t>(retrieved->wParam & 0xFFFF));
                break;
            case WM_HOTKEY:
                keyboard::DispatchHotKey(static_cast<uint32_t>(retrieved->wParam), false);
                break;
            default:
                break;
        }
    }
    return platform::CallNextHookEx(Module().get_message_hook.get(), code, wParam, lParam);
}

}  // namespace host
