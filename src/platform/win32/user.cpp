// USER32 port: plain forwarding to Windows.
#include "platform/user.h"

namespace platform {

HWND FindWindowExA(HWND parent, HWND after, LPCSTR class_name, LPCSTR window_name) {
    return ::FindWindowExA(parent, after, class_name, window_name);
}
DWORD GetWindowThreadProcessId(HWND window, DWORD* process_id) {
    return ::GetWindowThreadProcessId(window, process_id);
}
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(window, message, wParam, lParam);
}

HHOOK SetWindowsHookExA(int type, HOOKPROC procedure, HINSTANCE module, DWORD thread_id) {
    return ::SetWindowsHookExA(type, procedure, module, thread_id);
}
BOOL UnhookWindowsHookEx(HHOOK hook) {
    return ::UnhookWindowsHookEx(hook);
}
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC procedure) {
    return ::SetTimer(window, id, period, procedure);
}
BOOL KillTimer(HWND window, UINT_PTR id) {
    return ::KillTimer(window, id);
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT flags) {
    return ::MessageBoxA(owner, text, caption, flags);
}
BOOL MessageBeep(UINT type) {
    return ::MessageBeep(type);
}

HMENU GetMenu(HWND window) {
    return ::GetMenu(window);
}
HMENU GetSubMenu(HMENU menu, int position) {
    return ::GetSubMenu(menu, position);
}
int GetMenuItemCount(HMENU menu) {
    return ::GetMenuItemCount(menu);
}
int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
    return ::GetMenuStringA(menu, item, buffer, size, flags);
}
HMENU CreatePopupMenu() {
    return ::CreatePopupMenu();
}
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
    return ::AppendMenuA(menu, flags, id, text);
}
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags) {
    return ::DeleteMenu(menu, item, flags);
}
BOOL DrawMenuBar(HWND window) {
    return ::DrawMenuBar(window);
}

BOOL RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtual_key) {
    return ::RegisterHotKey(window, id, modifiers, virtual_key);
}
BOOL UnregisterHotKey(HWND window, int id) {
    return ::UnregisterHotKey(window, id);
}
SHORT GetAsyncKeyState(int virtual_key) {
    return ::GetAsyncKeyState(virtual_key);
}

}  // namespace platform
