// SHELL32 port: plain forwarding to Windows.
#include "platform/shell.h"

namespace platform {

PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info) {
    return ::SHBrowseForFolderA(info);
}
BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE item, LPSTR path) {
    return ::SHGetPathFromIDListA(item, path);
}
void ILFree(PIDLIST_ABSOLUTE item) {
    ::ILFree(item);
}
BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) {
    return ::ShellExecuteExA(info);
}
HRESULT SHGetFolderPathA(HWND owner, int folder, HANDLE token, DWORD flags, LPSTR path) {
    return ::SHGetFolderPathA(owner, folder, token, flags, path);
}
HRESULT CoInitializeEx(LPVOID reserved, DWORD flags) {
    return ::CoInitializeEx(reserved, flags);
}
void CoUninitialize() {
    ::CoUninitialize();
}

}  // namespace platform
