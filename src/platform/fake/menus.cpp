// Fake menus: a tree of items per menu handle, menu bars per window.
#include <algorithm>
#include <cstring>
#include <map>

#include "area.h"
#include "flag_names.h"
#include "platform/fake_user.h"
#include "platform/user.h"

namespace fake {
namespace {

struct State {
    uint32_t next_menu = 0x00E00010;
    std::map<uint32_t, std::vector<MenuItem>> menus;
    std::map<uint32_t, HMENU> bars;  // window -> menu bar
} state;

Failable failable_menus({"CreatePopupMenu"});
ResetHook reset_menus([] { state = State{}; });

uint32_t Value(const void* p) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
}

HMENU NewMenu() {
    const uint32_t h = state.next_menu;
    state.next_menu += 0x10;
    state.menus[h];
    return reinterpret_cast<HMENU>(static_cast<uintptr_t>(h));
}

std::vector<MenuItem>* Items(HMENU menu) {
    auto it = state.menus.find(Value(menu));
    return it == state.menus.end() ? nullptr : &it->second;
}

}  // namespace

HMENU AddMenuBar(HWND window, const std::vector<std::string>& popups) {
    HMENU bar = NewMenu();
    for (const auto& title : popups) {
        HMENU popup = NewMenu();
        state.menus[Value(bar)].push_back(MenuItem{MF_POPUP, 0, title, popup});
    }
    state.bars[Value(window)] = bar;
    return bar;
}

std::vector<MenuItem> MenuItems(HMENU menu) {
    auto* items = Items(menu);
    return items ? *items : std::vector<MenuItem>{};
}

}  // namespace fake

namespace platform {

HMENU GetMenu(HWND window) {
    fake::Log("GetMenu", window);
    auto it = fake::state.bars.find(fake::Value(window));
    return it == fake::state.bars.end() ? nullptr : it->second;
}

HMENU GetSubMenu(HMENU menu, int position) {
    fake::Log("GetSubMenu", menu, position);
    auto* items = fake::Items(menu);
    if (items == nullptr || position < 0 || position >= static_cast<int>(items->size())) {
        return nullptr;
    }
    return (*items)[position].submenu;
}

int GetMenuItemCount(HMENU menu) {
    fake::Log("GetMenuItemCount", menu);
    auto* items = fake::Items(menu);
    return items ? static_cast<int>(items->size()) : -1;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags) {
    fake::Log("GetMenuStringA", menu, item, size, fake::MenuLookupFlags(flags));
    auto* items = fake::Items(menu);
    if (items == nullptr)
        return 0;
    const fake::MenuItem* found = nullptr;
    if (flags & MF_BYPOSITION) {
        if (item < items->size())
            found = &(*items)[item];
    } else {
        for (const auto& i : *items) {
            if (i.id == item)
                found = &i;
        }
    }
    // Like Windows: an item without text leaves the buffer as it was.
    if (found == nullptr || (found->flags & MF_SEPARATOR) || buffer == nullptr || size <= 0) {
        return 0;
    }
    const int n = std::min<int>(static_cast<int>(found->text.size()), size - 1);
    std::memcpy(buffer, found->text.data(), n);
    buffer[n] = '\0';
    return n;
}

HMENU CreatePopupMenu() {
    if (fake::Failing(fake::Log("CreatePopupMenu")))
        return nullptr;
    return fake::NewMenu();
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
    if (flags & MF_POPUP) {
        fake::Log("AppendMenuA", menu, fake::MenuItemFlags(flags),
                  fake::Hex(static_cast<uint32_t>(id)), text);
    } else {
        fake::Log("AppendMenuA", menu, fake::MenuItemFlags(flags), id, text);
    }
    auto* items = fake::Items(menu);
    if (items == nullptr)
        return FALSE;
    HMENU submenu = (flags & MF_POPUP) ? reinterpret_cast<HMENU>(id) : nullptr;
    items->push_back(fake::MenuItem{flags, (flags & MF_POPUP) ? 0u : static_cast<UINT>(id),
                                    (flags & MF_SEPARATOR) || !text ? "" : text, submenu});
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT item, UINT flags) {
    fake::Log("DeleteMenu", menu, item, fake::MenuLookupFlags(flags));
    auto* items = fake::Items(menu);
    if (items == nullptr)
        return FALSE;
    auto found = items->end();
    if (flags & MF_BYPOSITION) {
        if (item < items->size())
            found = items->begin() + item;
    } else {
        found = std::find_if(items->begin(), items->end(), [item](const fake::MenuItem& i) {
            return !(i.flags & MF_POPUP) && i.id == item;
        });
    }
    if (found == items->end())
        return FALSE;
    // Like Windows: the item's popup goes with it.
    if (found->flags & MF_POPUP)
        fake::state.menus.erase(fake::Value(found->submenu));
    items->erase(found);
    return TRUE;
}

BOOL DrawMenuBar(HWND window) {
    fake::Log("DrawMenuBar", window);
    return TRUE;
}

}  // namespace platform
