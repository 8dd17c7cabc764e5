// File constants: access, sharing, dispositions, attributes, moves.
// The fake's subset, with 32-bit Windows' values (see win_types.h).
#pragma once
#include "platform/win_types.h"

#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_DIRECTORY 0x10
#define FILE_ATTRIBUTE_NORMAL 0x80
#define GENERIC_WRITE 0x40000000u
#define FILE_APPEND_DATA 0x0004
#define FILE_SHARE_READ 0x1
#define FILE_SHARE_WRITE 0x2
#define FILE_SHARE_DELETE 0x4
#define CREATE_ALWAYS 2
#define OPEN_ALWAYS 4
#define INVALID_FILE_SIZE ((DWORD)0xFFFFFFFF)
#define MOVEFILE_REPLACE_EXISTING 0x1
