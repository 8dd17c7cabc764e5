// VERSION port: plain forwarding to Windows.
#include "platform/version.h"

namespace platform {

DWORD GetFileVersionInfoSizeA(LPCSTR file, DWORD* handle) {
    return ::GetFileVersionInfoSizeA(file, handle);
}
BOOL GetFileVersionInfoA(LPCSTR file, DWORD handle, DWORD size, LPVOID data) {
    return ::GetFileVersionInfoA(file, handle, size, data);
}
BOOL VerQueryValueA(LPCVOID block, LPCSTR sub_block, LPVOID* buffer, UINT* size) {
    return ::VerQueryValueA(block, sub_block, buffer, size);
}

}  // namespace platform
