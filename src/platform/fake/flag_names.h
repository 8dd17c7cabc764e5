// Flag words as the call log writes them: by name, joined with '|', as the module spells them.
#pragma once
#include <string>

#include "platform/win_types.h"

namespace fake {

// Written as it is (not quoted like a text).
struct FlagWord {
    std::string names;
};
std::string Format(const FlagWord& flags);

FlagWord MenuItemFlags(UINT flags);    // AppendMenuA: 0 is MF_STRING
FlagWord MenuLookupFlags(UINT flags);  // GetMenuStringA: 0 is MF_BYCOMMAND
FlagWord MessageBoxFlags(UINT flags);  // 0 is MB_OK
FlagWord HotKeyModifiers(UINT modifiers);

}  // namespace fake
