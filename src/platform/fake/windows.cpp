// Fake windows, message hooks, thread timers, message boxes and beeps.
#include <strings.h>

#include <algorithm>
#include <deque>
#include <map>

#include "area.h"
#include "flag_names.h"
#include "platform/fake_user.h"
#include "platform/kernel.h"
#include "platform/user.h"

namespace fake {
namespace {

struct Hook {
    uint32_t handle;
    int type;
    HOOKPROC procedure;
};

struct State {
    uint32_t next_window = 0x00010010;
    std::vector<std::pair<std::string, HWND>> windows;  // in z-order, top first
    std::map<HWND, WindowOwner> owners;                 // windows of other processes or threads
    uint32_t next_hook = 0x00C00010;
    std::vector<Hook> hooks;
    UINT_PTR next_timer = 0x7F01;
    std::vector<Timer> timers;
    std::vector<MessageBoxShown> boxes;
    std::deque<int> answers;
    std::function<void()> while_box_shows;
    bool box_showing = false;
} state;

Failable failable_windows({"SetWindowsHookExA"});
ResetHook reset_windows([] { state = State{}; });

}  // namespace

HWND AddWindow(const std::string& class_name) {
    for (const auto& [name, window] : state.windows) {
        if (name == class_name)
            return window;
    }
    return AddAnotherWindow(class_name);
}

HWND AddAnotherWindow(const std::string& class_name) {
    HWND w = reinterpret_cast<HWND>(static_cast<uintptr_t>(state.next_window));
    state.next_window += 0x10;
    state.windows.emplace_back(class_name, w);
    return w;
}

void SetWindowOwner(HWND window, WindowOwner owner) {
    state.owners[window] = owner;
}

void WhileMessageBoxShows(std::function<void()> work) {
    state.while_box_shows = std::move(work);
}

void RemoveWindow(const std::string& class_name) {
    std::erase_if(state.windows, [&](const auto& entry) { return entry.first == class_name; });
}

HOOKPROC InstalledHook(int type) {
    for (const auto& h : state.hooks) {
        if (h.type == type)
            return h.procedure;
    }
    return nullptr;
}

int InstalledHookCount() {
    return static_cast<int>(state.hooks.size());
}

std::vector<Timer> ArmedTimers() {
    return state.timers;
}

void FireTimers() {
    const auto timers = state.timers;  // a procedure may kill its own timer
    for (const auto& t : timers) {
        if (t.procedure)
            t.procedure(nullptr, 0x0113, t.id, 0);
    }
}

std::vector<MessageBoxShown> MessageBoxes() {
    return state.boxes;
}
void QueueMessageBoxAnswer(int answer) {
    state.answers.push_back(answer);
}

}  // namespace fake

namespace platform {

HWND FindWindowExA(HWND parent, HWND after, LPCSTR class_name, LPCSTR window_name) {
    fake::Log("FindWindowExA", parent, after, class_name, window_name);
    if (parent != nullptr)
        return nullptr;
    auto& windows = fake::state.windows;
    auto it = windows.begin();
    if (after != nullptr) {
        it = std::find_if(windows.begin(), windows.end(),
                          [&](const auto& entry) { return entry.second == after; });
        if (it == windows.end())
            return nullptr;
        ++it;
    }
    // Class names are atoms to Windows: compared without case; no name matches every class.
    for (; it != windows.end(); ++it) {
        if (class_name == nullptr || strcasecmp(it->first.c_str(), class_name) == 0)
            return it->second;
    }
    return nullptr;
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* process_id) {
    fake::Log("GetWindowThreadProcessId", window);
    auto it = fake::state.owners.find(window);
    const fake::WindowOwner owner =
        it != fake::state.owners.end()
            ? it->second
            : fake::WindowOwner{platform::GetCurrentProcessId(), platform::GetCurrentThreadId()};
    if (process_id != nullptr)
        *process_id = owner.process;
    return owner.thread;
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    fake::Log("SendMessageA", window, fake::Hex(message), wParam, fake::Hex(lParam));
    return 0;
}

HHOOK SetWindowsHookExA(int type, HOOKPROC procedure, HINSTANCE module, DWORD thread_id) {
    if (fake::Failing(fake::Log("SetWindowsHookExA", type, module, thread_id)) ||
        procedure == nullptr)
        return nullptr;
    const uint32_t handle = fake::state.next_hook++;
    fake::state.hooks.push_back(fake::Hook{handle, type, procedure});
    return reinterpret_cast<HHOOK>(static_cast<uintptr_t>(handle));
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    fake::Log("UnhookWindowsHookEx", hook);
    auto& hooks = fake::state.hooks;
    const auto value = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hook));
    auto it = std::find_if(hooks.begin(), hooks.end(),
                           [&](const fake::Hook& h) { return h.handle == value; });
    if (it == hooks.end())
        return FALSE;
    hooks.erase(it);
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    fake::Log("CallNextHookEx", hook, code, wParam, fake::Hex(lParam));
    return 0;
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC procedure) {
    fake::Log("SetTimer", window, id, period);
    if (window != nullptr) {
        fake::state.timers.push_back(fake::Timer{id, period, procedure});
        return id;
    }
    const UINT_PTR new_id = fake::state.next_timer++;
    fake::state.timers.push_back(fake::Timer{new_id, period, procedure});
    return new_id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    fake::Log("KillTimer", window, id);
    auto& timers = fake::state.timers;
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const fake::Timer& t) { return t.id == id; });
    if (it == timers.end())
        return FALSE;
    timers.erase(it);
    return TRUE;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT flags) {
    fake::Log("MessageBoxA", owner, text, caption, fake::MessageBoxFlags(flags));
    fake::state.boxes.push_back(
        fake::MessageBoxShown{owner, text ? text : "", caption ? caption : "", flags});
    if (fake::state.while_box_shows && !fake::state.box_showing) {
        fake::state.box_showing = true;
        fake::state.while_box_shows();
        fake::state.box_showing = false;
    }
    if (!fake::state.answers.empty()) {
        const int answer = fake::state.answers.front();
        fake::state.answers.pop_front();
        return answer;
    }
    return (flags & 0xF) == MB_YESNO ? IDNO : IDOK;
}

BOOL MessageBeep(UINT type) {
    fake::Log("MessageBeep", type);
    return TRUE;
}

}  // namespace platform
