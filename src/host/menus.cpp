// The module's menus in the simulator's menu bar and the commands they carry.
#include <cstring>

#include "host/module_state.h"
#include "host/window_integration.h"
#include "navigation/navigation.h"
#include "runtime/message_boxes.h"
#include "platform/kernel.h"
#include "platform/shell.h"
#include "platform/user.h"

namespace host {
namespace {

constexpr uint16_t kVisitWebsite = 39152;
constexpr uint16_t kCustomerServices = 39153;
constexpr uint16_t kCommunity = 39154;
constexpr uint16_t kGeneralForum = 39155;
constexpr uint16_t kStoreUpgrades = 39156;
constexpr uint16_t kVorCompatibility = 39162;
constexpr uint16_t kAbout = 39167;
constexpr uint16_t kFirstDevice = 38912;
constexpr uint16_t kLastDevice = 38951;
constexpr int kMaxWindowsOfTheClass = 256;

constexpr UINT kSeparator = MF_SEPARATOR | MF_DISABLED;
constexpr char kTopMenuTitle[] = "M&DN";
constexpr char kNavDeviceTitle[] = "Navigation Device";

constexpr char kHomePage[] = "https://www.meridane.example/";
constexpr char kSupportPage[] = "https://support.meridane.example/";
constexpr char kCommunityPage[] = "https://community.meridane.example/";
constexpr char kForumPage[] = "https://forum.meridane.example/general/";
constexpr char kStorePage[] = "https://store.meridane.example/upgrades/";
constexpr char kAboutNotice[] =
    "MdnSrv, the Meridane service module for Flight Simulator 2004.\n\n"
    "It serves the Meridane gauges: key commands, navigation device selection, GPS "
    "information, AI traffic, air data and bitmap drawing.";

// The position of the first item of `menu`, read by position, whose text is exactly `title`;
// -1 when there is none.
int PositionOfItemTitled(HMENU menu, const char* title, size_t compared) {
    const int count = platform::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[kPathSize];
        text[0] = '\0';  // items without text leave the buffer as it was
        platform::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        text[sizeof text - 1] = '\0';
        if (std::memcmp(text, title, compared) == 0)
            return i;
    }
    return -1;
}

bool HasItemTitled(HMENU menu, const char* title, size_t compared) {
    return PositionOfItemTitled(menu, title, compared) >= 0;
}

// The VOR item, a separator and one item per device in registry order, each device item's id
// its place: the popup's whole content, as the registry and the flag stand now.
void FillNavDevicePopup(HMENU popup, uint32_t count) {
    platform::AppendMenuA(popup, navigation::VorPassThrough() ? MF_STRING : MF_CHECKED,
                          kVorCompatibility, "Simple Vor Compatibility");
    platform::AppendMenuA(popup, kSeparator, 0, nullptr);
    for (uint32_t position = 0; position < count; ++position) {
        char name[kPathSize];
        bool active = false;
        if (navigation::GetNavMenuItem(position, name, sizeof name, &active)) {
            platform::AppendMenuA(popup, active ? MF_CHECKED : MF_STRING, kFirstDevice + position,
                                  name);
        }
    }
}

// The simulator window, found afresh, and its menu bar; false when either is missing.
bool FindMenuBar(HWND* window, HMENU* bar) {
    *window = FindSimulatorWindow();
    if (*window == nullptr)
        return false;
    *bar = platform::GetMenu(*window);
    return *bar != nullptr;
}

bool FirstDeviceActive() {
    bool active = false;
    return navigation::GetNavMenuItem(0, nullptr, 0, &active) && active;
}

}  // namespace

HWND FindSimulatorWindow() {
    // Every window of the class in turn: a second simulator, or a tool borrowing the class
    // name, may be above this process's own. The bound only guards against a z-order that
    // changes under the walk.
    HWND window = nullptr;
    for (int i = 0; i < kMaxWindowsOfTheClass; ++i) {
        window = platform::FindWindowExA(nullptr, window, kSimulatorWindowClass, nullptr);
        if (window == nullptr)
            return nullptr;
        DWORD process = 0;
        platform::GetWindowThreadProcessId(window, &process);
        if (process == platform::GetCurrentProcessId())
            return window;
    }
    return nullptr;
}

void BuildTopMenu() {
    HWND window;
    HMENU bar;
    if (!FindMenuBar(&window, &bar))
        return;
    if (HasItemTitled(bar, kTopMenuTitle, sizeof kTopMenuTitle))
        return;
    HMENU popup = platform::CreatePopupMenu();
    if (popup == nullptr)
        return;
    platform::AppendMenuA(popup, MF_STRING, kCommunity, "Meridane Community");
    platform::AppendMenuA(popup, MF_STRING, kGeneralForum, "Meridane General Forum");
    platform::AppendMenuA(popup, MF_STRING, kCustomerServices, "Meridane Customer Services");
    platform::AppendMenuA(popup, kSeparator, 0, nullptr);
    platform::AppendMenuA(popup, MF_STRING, kVisitWebsite, "Visit Meridane Website");
    platform::AppendMenuA(popup, MF_STRING, kAbout, "About...");
    platform::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), kTopMenuTitle);
    platform::DrawMenuBar(window);
}

void BuildNavDeviceMenu() {
    // The places are renumbered here on every opening, so the items are refreshed here too:
    // an item built earlier would carry a place that now belongs to another device.
    const uint32_t count = navigation::MarkNavMenuPlaces();
    const bool only_the_simulator_gps = count <= 1 && FirstDeviceActive();
    HWND window;
    HMENU bar;
    if (!FindMenuBar(&window, &bar))
        return;
    HMENU submenu = platform::GetSubMenu(bar, 3);
    if (submenu == nullptr)
        return;
    const int place = PositionOfItemTitled(submenu, kNavDeviceTitle, sizeof kNavDeviceTitle);
    if (place >= 0) {
        HMENU popup = platform::GetSubMenu(submenu, place);
        if (popup == nullptr)
            return;
        for (int left = platform::GetMenuItemCount(popup); left > 0; --left)
            platform::DeleteMenu(popup, 0, MF_BYPOSITION);
        FillNavDevicePopup(popup, count);
        return;
    }
    // Not added while the simulator's own GPS is the only device and active.
    if (only_the_simulator_gps)
        return;
    HMENU popup = platform::CreatePopupMenu();
    if (popup == nullptr)
        return;
    FillNavDevicePopup(popup, count);
    platform::AppendMenuA(submenu, kSeparator, 0, nullptr);
    platform::AppendMenuA(submenu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), kNavDeviceTitle);
    platform::DrawMenuBar(window);
}

void OnMenuCommand(uint16_t id) {
    switch (id) {
        case kVisitWebsite:
            OpenLink(kHomePage);
            break;
        case kCustomerServices:
            OpenLink(kSupportPage);
            break;
        case kCommunity:
            OpenLink(kCommunityPage);
            break;
        case kGeneralForum:
            OpenLink(kForumPage);
            break;
        case kStoreUpgrades:
            OpenLink(kStorePage);
            break;
        case kVorCompatibility:
            navigation::SetVorPassThrough(!navigation::VorPassThrough());
            break;
        case kAbout:
            runtime::ShowInformationBox(kAboutNotice);
            break;
        default:
            if (id >= kFirstDevice && id <= kLastDevice)
                navigation::SelectNavDeviceByMenuPlace(id - kFirstDevice);
            break;
    }
}

void OpenLink(const char* address) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = nullptr;
    info.lpVerb = "open";
    info.lpFile = address;
    info.lpParameters = nullptr;
    info.lpDirectory = nullptr;
    info.nShow = SW_SHOWMAXIMIZED;
    platform::ShellExecuteExA(&info);
}

}  // namespace host
