// VERSION services: reading a file's version resource.
#pragma once
#include "platform/win_types.h"

namespace platform {

DWORD GetFileVersionInfoSizeA(LPCSTR file, DWORD* handle);
BOOL GetFileVersionInfoA(LPCSTR file, DWORD handle, DWORD size, LPVOID data);
BOOL VerQueryValueA(LPCVOID block, LPCSTR sub_block, LPVOID* buffer, UINT* size);

}  // namespace platform
