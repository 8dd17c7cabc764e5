// SHELL32 services: the folder browser, opening documents, the user's special folders, and
// the COM set-up they need.
#pragma once
#include "platform/win_shell.h"

namespace platform {

PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info);
BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE item, LPSTR path);
void ILFree(PIDLIST_ABSOLUTE item);
BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info);
HRESULT SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, LPSTR path);

// COM on the calling thread (OLE32), which the folder browser needs.
HRESULT CoInitializeEx(LPVOID reserved, DWORD flags);
void CoUninitialize();

}  // namespace platform
