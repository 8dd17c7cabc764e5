// SHELL32 services: the folder browser and opening documents.
#pragma once
#include "platform/win_types.h"

namespace platform {

PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info);
BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE item, LPSTR path);
void ILFree(PIDLIST_ABSOLUTE item);
BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info);

}  // namespace platform
