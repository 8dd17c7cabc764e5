// Input as a user gives it: key presses through SendInput, activation changes, the frame
// repaint and menu opening through SendMessage (so WH_CALLWNDPROC hooks see them), menu
// commands posted (so WH_GETMESSAGE hooks see them).
#include <cstdio>
#include <map>

#include "fs9_log.h"
#include "fs9_world.h"

namespace fs9 {
namespace {

// Wine answers GetAsyncKeyState of a released key from a 50 ms cache: presses of the same
// key are kept at least this far apart.
constexpr uint32_t kSameKeySpacingMs = 100;
std::map<uint32_t, uint32_t> last_press;

bool IsExtended(uint32_t vk) {
    switch (vk) {
        case VK_INSERT:
        case VK_DELETE:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_RCONTROL:
        case VK_RMENU:
        case VK_LWIN:
        case VK_RWIN:
        case VK_DIVIDE:
            return true;
        default:
            return false;
    }
}

INPUT Key(uint32_t vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(vk);
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

void Space(uint32_t vk) {
    auto found = last_press.find(vk);
    if (found == last_press.end())
        return;
    const uint32_t since = Now() - found->second;
    if (since < kSameKeySpacingMs)
        Pump(kSameKeySpacingMs - since);
}

void Describe(const char* prefix, HMENU menu, int depth, std::string* out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[260] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        std::string line(static_cast<size_t>(depth) * 2, ' ');
        line += prefix;
        if (info.fType & MFT_SEPARATOR) {
            line += "----";
        } else {
            if (depth > 0)
                line += (info.fState & MFS_CHECKED) ? "[x] " : "[ ] ";
            line += text;
            if (info.hSubMenu) {
                line += " >";
            } else {
                char id[16];
                std::snprintf(id, sizeof id, " (%u)", info.wID);
                line += id;
            }
        }
        *out += line + "\n";
        if (info.hSubMenu)
            Describe(prefix, info.hSubMenu, depth + 1, out);
    }
}

uint32_t Find(HMENU menu, const char* wanted) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[260] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        HMENU sub = GetSubMenu(menu, i);
        if (sub) {
            if (const uint32_t id = Find(sub, wanted))
                return id;
        } else if (std::string(text) == wanted) {
            return GetMenuItemID(menu, i);
        }
    }
    return 0;
}

}  // namespace

void PressKeys(uint32_t modifiers, uint32_t virtual_key) {
    const HWND window = TheWorld().window;
    SetLastAction("pressing modifiers 0x%X with key 0x%02X", modifiers, virtual_key);
    Space(virtual_key);
    if (window)
        SetForegroundWindow(window);
    static const struct {
        uint32_t flag, vk;
    } kModifiers[] = {{0x2, VK_CONTROL}, {0x4, VK_SHIFT}, {0x1, VK_MENU}, {0x8, VK_LWIN}};
    std::vector<INPUT> inputs;
    for (const auto& m : kModifiers) {
        if (modifiers & m.flag)
            inputs.push_back(Key(m.vk, false));
    }
    inputs.push_back(Key(virtual_key, false));
    inputs.push_back(Key(virtual_key, true));
    for (int i = 3; i >= 0; --i) {
        if (modifiers & kModifiers[i].flag)
            inputs.push_back(Key(kModifiers[i].vk, true));
    }
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    last_press[virtual_key] = Now();
    Log("keys pressed: modifiers 0x%X, key 0x%02X (%u of %u inputs sent)", modifiers, virtual_key,
        sent, static_cast<unsigned>(inputs.size()));
    Pump(50);
}

void SetAppActive(bool active) {
    SetLastAction("sending WM_ACTIVATEAPP %d", active ? 1 : 0);
    Log("WM_ACTIVATEAPP %s", active ? "TRUE" : "FALSE");
    if (TheWorld().window)
        SendMessageA(TheWorld().window, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
}

void PaintFrame() {
    SetLastAction("sending WM_NCPAINT");
    if (TheWorld().window)
        SendMessageA(TheWorld().window, WM_NCPAINT, 1, 0);
}

void OpenMenuBar() {
    SetLastAction("sending WM_INITMENU");
    const HWND window = TheWorld().window;
    if (window)
        SendMessageA(window, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(window)), 0);
}

void PostCommand(uint32_t id) {
    SetLastAction("posting WM_COMMAND %u", id);
    Log("posting WM_COMMAND %u", id);
    if (TheWorld().window)
        PostMessageA(TheWorld().window, WM_COMMAND, id & 0xFFFF, 0);
    Pump(50);
}

uint32_t FindMenuCommand(const char* text) {
    const HWND window = TheWorld().window;
    HMENU bar = window ? GetMenu(window) : nullptr;
    return bar && text ? Find(bar, text) : 0;
}

std::string DescribeMenus() {
    std::string out;
    const HWND window = TheWorld().window;
    HMENU bar = window ? GetMenu(window) : nullptr;
    if (bar)
        Describe("", bar, 0, &out);
    return out;
}

}  // namespace fs9
