// Files the module writes. The win32 port opens the path as it is; the fake maps it below a
// test's temporary folder.
#pragma once
#include <cstdio>

#include "platform/win_files.h"

namespace platform {

// Opens a C stream with the C library's mode ("w", "a"); null on failure. Text files at fixed
// Windows paths (the dumps).
FILE* OpenTextFile(const char* path, const char* mode);

// Files written by handle (the diagnostic log): each WriteFile on a handle opened for
// FILE_APPEND_DATA lands at the end of the file in one piece, with no C run-time lock.
HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE template_file);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD size, DWORD* written, LPOVERLAPPED overlapped);
DWORD GetFileSize(HANDLE file, DWORD* size_high);
BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags);
BOOL DeleteFileA(LPCSTR path);
BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES security);

}  // namespace platform
