// Control of the fake USER32 services (platform/user.h): windows, message hooks, thread
// timers, message boxes, menus, system hot keys and key state.
//
// Calls Fail() can fail:
//   SetWindowsHookExA   null; "SetWindowsHookExA(4" fails only hooks of type 4 (WH_CALLWNDPROC)
//   CreatePopupMenu     null
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/fake_calls.h"
#include "platform/win_user.h"

namespace fake {

// ---- windows and hooks --------------------------------------------------------------------

// The first window of the class, made when there is none.
HWND AddWindow(const std::string& class_name);
// One more window of the class, below those already there.
HWND AddAnotherWindow(const std::string& class_name);
void RemoveWindow(const std::string& class_name);
// A window belongs to the current process and thread unless given another owner.
struct WindowOwner {
    DWORD process;
    DWORD thread;
};
void SetWindowOwner(HWND window, WindowOwner owner);
// The procedure installed for a hook type, or null.
HOOKPROC InstalledHook(int type);
int InstalledHookCount();

// ---- thread timers ------------------------------------------------------------------------

struct Timer {
    UINT_PTR id;
    UINT period;
    TIMERPROC procedure;
};
std::vector<Timer> ArmedTimers();
// Calls every armed timer's procedure once, as the message loop would.
void FireTimers();

// ---- message boxes ------------------------------------------------------------------------

struct MessageBoxShown {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
};
std::vector<MessageBoxShown> MessageBoxes();
// Answers for the next boxes, in order; without one a box answers IDNO for MB_YESNO and IDOK
// otherwise.
void QueueMessageBoxAnswer(int answer);
// Runs `work` while each box shows, as the messages the box's own loop dispatches would (not
// again for a box `work` itself shows).
void WhileMessageBoxShows(std::function<void()> work);

// ---- menus --------------------------------------------------------------------------------

struct MenuItem {
    UINT flags;
    UINT id;
    std::string text;
    HMENU submenu;
};
// Gives `window` a menu bar of top-level popups with these titles; returns the bar.
HMENU AddMenuBar(HWND window, const std::vector<std::string>& popups);
std::vector<MenuItem> MenuItems(HMENU menu);

// ---- system hot keys and key state --------------------------------------------------------

struct HotKey {
    HWND window;
    int id;
    UINT modifiers;
    UINT virtual_key;
};
// Registered hot keys in the order they were first registered.
std::vector<HotKey> RegisteredHotKeys();
// Presses a key: the next GetAsyncKeyState of it has bit 0 set, and clears it.
void PressKey(int virtual_key);

}  // namespace fake
