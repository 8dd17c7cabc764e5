// ADVAPI32 port: plain forwarding to Windows.
#include "platform/registry.h"

namespace platform {

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR sub_key, DWORD options, REGSAM access, PHKEY result) {
    return ::RegOpenKeyExA(key, sub_key, options, access, result);
}
LSTATUS RegQueryValueExA(HKEY key, LPCSTR value_name, DWORD* reserved, DWORD* type, BYTE* data,
                         DWORD* size) {
    return ::RegQueryValueExA(key, value_name, reserved, type, data, size);
}
LSTATUS RegCreateKeyExA(HKEY key, LPCSTR sub_key, DWORD reserved, LPSTR class_name, DWORD options,
                        REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                        DWORD* disposition) {
    return ::RegCreateKeyExA(key, sub_key, reserved, class_name, options, access, security, result,
                             disposition);
}
LSTATUS RegSetValueExA(HKEY key, LPCSTR value_name, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD size) {
    return ::RegSetValueExA(key, value_name, reserved, type, data, size);
}
LSTATUS RegCloseKey(HKEY key) {
    return ::RegCloseKey(key);
}

}  // namespace platform
