// SHELL32 services: the folder browser and opening documents, and the COM set-up they need.
#pragma once
#include "platform/win_types.h"

namespace platform {

PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info);
BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE item, LPSTR path);
void ILFree(PIDLIST_ABSOLUTE item);
BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info);

// COM on the calling thread (OLE32), which the folder browser needs.
HRESULT CoInitializeEx(LPVOID reserved, DWORD flags);
void CoUninitialize();

}  // namespace platform
