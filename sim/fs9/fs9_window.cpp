// The main window "FS98MAIN" with the simulator's menu bar. The module finds it with
// FindWindowA at attach and adds its own menus to it.
#include "fs9_log.h"
#include "fs9_world.h"

namespace fs9 {
namespace {

constexpr char kClassName[] = "FS98MAIN";

struct MenuTitles {
    const char* title;
    const char* items[4];
};
// Position 3 is where the module appends its "Navigation Device" submenu.
constexpr MenuTitles kMenus[] = {
    {"&Flights", {"&Select Flight...", "&Save Flight...", "&Flight Planner...", nullptr}},
    {"&World", {"&Go to Airport...", "&Time and Season...", "&Weather...", nullptr}},
    {"&Aircraft", {"&Select Aircraft...", "&Fuel and Payload...", nullptr, nullptr}},
    {"&Options", {"&Settings...", "&Controls...", "&Pause", nullptr}},
    {"&Views", {"&View Mode", "&Instrument Panel", nullptr, nullptr}},
    {"&Help", {"&Contents", "&About...", nullptr, nullptr}},
};

HMENU BuildMenuBar() {
    HMENU bar = CreateMenu();
    UINT id = 1000;
    for (const MenuTitles& menu : kMenus) {
        HMENU popup = CreatePopupMenu();
        for (const char* item : menu.items) {
            if (item)
                AppendMenuA(popup, MF_STRING, id++, item);
        }
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), menu.title);
        id = (id / 100 + 1) * 100;
    }
    return bar;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) != 0) {
                Log("main window: WM_COMMAND %u", static_cast<unsigned>(LOWORD(wParam)));
            }
            return 0;
        case WM_HOTKEY:
            Log("main window: WM_HOTKEY id 0x%04X", static_cast<unsigned>(wParam));
            return 0;
        case WM_CLOSE:
            return 0;  // the run ends when its scenario does, not from the window
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

bool RegisterWindowClass() {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = &WindowProcedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = kClassName;
    return RegisterClassA(&window_class) != 0;
}

bool CreateMainWindow() {
    World& world = TheWorld();
    world.window =
        CreateWindowExA(0, kClassName, "Stand-in Flight Simulator", WS_OVERLAPPEDWINDOW, 40, 40,
                        800, 600, nullptr, BuildMenuBar(), GetModuleHandleA(nullptr), nullptr);
    if (world.window == nullptr)
        return false;
    ShowWindow(world.window, SW_SHOW);
    UpdateWindow(world.window);
    SetForegroundWindow(world.window);
    Log("main window \"FS98MAIN\" created (%p) with %u menus", static_cast<void*>(world.window),
        static_cast<unsigned>(sizeof kMenus / sizeof kMenus[0]));
    return true;
}

}  // namespace fs9
