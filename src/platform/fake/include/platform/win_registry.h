// Registry constants: the root key, access rights, value types, key options.
// The fake's subset, with 32-bit Windows' values (see win_types.h).
#pragma once
#include "platform/win_types.h"

#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)0x80000002u)
#define KEY_ALL_ACCESS 0xF003F
#define KEY_WRITE 0x20006
#define KEY_READ 0x20019
#define REG_SZ 1
#define REG_DWORD 4
#define REG_OPTION_NON_VOLATILE 0
