// Files at their real Windows paths.
#include "platform/files.h"

namespace platform {

FILE* OpenTextFile(const char* path, const char* mode) {
    return std::fopen(path, mode);
}

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE template_file) {
    return ::CreateFileA(path, access, share, security, disposition, flags, template_file);
}
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD size, DWORD* written, LPOVERLAPPED overlapped) {
    return ::WriteFile(file, buffer, size, written, overlapped);
}
DWORD GetFileSize(HANDLE file, DWORD* size_high) {
    return ::GetFileSize(file, size_high);
}
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
    return ::MoveFileExA(from, to, flags);
}
BOOL DeleteFileA(LPCSTR path) {
    return ::DeleteFileA(path);
}
BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES security) {
    return ::CreateDirectoryA(path, security);
}

}  // namespace platform
