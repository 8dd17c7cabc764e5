// SHELL32 and COM constants: COM set-up, the folder browser, ShellExecuteEx, folders.
// The fake's subset, with 32-bit Windows' values (see win_types.h).
#pragma once
#include "platform/win_types.h"
#include "platform/win_user.h"

#define RPC_E_CHANGED_MODE ((HRESULT)0x80010106L)
#define COINIT_APARTMENTTHREADED 0x2
#define COINIT_DISABLE_OLE1DDE 0x4
#define CSIDL_LOCAL_APPDATA 0x001c
#define SHGFP_TYPE_CURRENT 0
#define BIF_RETURNONLYFSDIRS 0x1
#define BIF_STATUSTEXT 0x4
#define BFFM_INITIALIZED 1
#define BFFM_SELCHANGED 2
#define BFFM_SETSTATUSTEXTA (WM_USER + 100)
#define SEE_MASK_FLAG_NO_UI 0x400
#define SW_SHOWMAXIMIZED 3
