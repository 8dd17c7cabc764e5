// USER32's constants: message boxes, hooks, window messages, menus, hot-key modifiers.
// The fake's subset, with 32-bit Windows' values (see win_types.h).
#pragma once
#include "platform/win_types.h"

#define MB_OK 0x0
#define MB_YESNO 0x4
#define MB_ICONERROR 0x10
#define MB_TASKMODAL 0x2000
#define MB_TOPMOST 0x40000
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7
#define WH_GETMESSAGE 3
#define WH_CALLWNDPROC 4
#define HC_ACTION 0
#define WM_ACTIVATEAPP 0x001C
#define WM_NCPAINT 0x0085
#define WM_COMMAND 0x0111
#define WM_INITMENU 0x0116
#define WM_HOTKEY 0x0312
#define WM_USER 0x0400
#define MF_STRING 0x0
#define MF_BYCOMMAND 0x0
#define MF_CHECKED 0x8
#define MF_POPUP 0x10
#define MF_BYPOSITION 0x400
#define MF_SEPARATOR 0x800
#define MF_DISABLED 0x2
#define MOD_ALT 0x1
#define MOD_CONTROL 0x2
#define MOD_SHIFT 0x4
#define MOD_WIN 0x8
