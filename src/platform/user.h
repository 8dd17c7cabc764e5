// USER32 services the module needs. These functions need to be implemented by a port;
// each one behaves like the Windows call of the same name.
#pragma once
#include "platform/win_user.h"

namespace platform {

// Windows and messages.
// Top-level windows only (parent null), in z-order after `after` (null: from the top).
HWND FindWindowExA(HWND parent, HWND after, LPCSTR class_name, LPCSTR window_name);
DWORD GetWindowThreadProcessId(HWND window, DWORD* process_id);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Message hooks.
HHOOK SetWindowsHookExA(int type, HOOKPROC procedure, HINSTANCE module, DWORD thread_id);
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

// Thread timers.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);

// Message boxes and beeps.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT flags);
BOOL MessageBeep(UINT type);

// Menus.
HMENU GetMenu(HWND window);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
HMENU CreatePopupMenu();
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
// Removes an item by position (MF_BYPOSITION) or by command id; an item's popup is destroyed
// with it.
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags);
BOOL DrawMenuBar(HWND window);

// System hot keys and key state.
BOOL RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtual_key);
BOOL UnregisterHotKey(HWND window, int id);
SHORT GetAsyncKeyState(int virtual_key);

}  // namespace platform
