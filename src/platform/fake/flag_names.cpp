// Names for the flag words the call log shows. A name stands for a value within a field
// (MB_YESNO is 4 in the button field, not bit 2); bits no name covers are written in hex.
#include <cstdio>

#include "flag_names.h"
#include "platform/win_user.h"

namespace fake {
namespace {

struct FlagName {
    UINT value;
    UINT field;
    const char* name;
};

// The item's kind first, then its state, as the module writes them.
constexpr FlagName kMenuItem[] = {
    {MF_POPUP, MF_POPUP, "MF_POPUP"},
    {MF_SEPARATOR, MF_SEPARATOR, "MF_SEPARATOR"},
    {MF_CHECKED, MF_CHECKED, "MF_CHECKED"},
    {MF_DISABLED, MF_DISABLED, "MF_DISABLED"},
    {MF_BYPOSITION, MF_BYPOSITION, "MF_BYPOSITION"},
};
constexpr FlagName kMessageBox[] = {
    {MB_YESNO, 0xF, "MB_YESNO"},
    {MB_ICONERROR, 0xF0, "MB_ICONERROR"},
    {MB_TASKMODAL, 0x3000, "MB_TASKMODAL"},
    {MB_TOPMOST, MB_TOPMOST, "MB_TOPMOST"},
};
constexpr FlagName kHotKey[] = {
    {MOD_ALT, MOD_ALT, "MOD_ALT"},
    {MOD_CONTROL, MOD_CONTROL, "MOD_CONTROL"},
    {MOD_SHIFT, MOD_SHIFT, "MOD_SHIFT"},
    {MOD_WIN, MOD_WIN, "MOD_WIN"},
};

template <size_t N>
FlagWord Named(UINT flags, const FlagName (&names)[N], const char* zero) {
    if (flags == 0)
        return FlagWord{zero};
    std::string text;
    UINT rest = flags;
    for (const auto& n : names) {
        if ((flags & n.field) == n.value) {
            text += text.empty() ? "" : "|";
            text += n.name;
            rest &= ~n.field;
        }
    }
    if (rest != 0) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%X", rest);
        text += text.empty() ? "" : "|";
        text += hex;
    }
    return FlagWord{text};
}

}  // namespace

std::string Format(const FlagWord& flags) {
    return flags.names;
}

FlagWord MenuItemFlags(UINT flags) {
    return Named(flags, kMenuItem, "MF_STRING");
}
FlagWord MenuLookupFlags(UINT flags) {
    return Named(flags, kMenuItem, "MF_BYCOMMAND");
}
FlagWord MessageBoxFlags(UINT flags) {
    return Named(flags, kMessageBox, "MB_OK");
}
FlagWord HotKeyModifiers(UINT modifiers) {
    return Named(modifiers, kHotKey, "0");
}

}  // namespace fake
