// KERNEL32 services the module needs. These functions need to be implemented by a port:
// win32/ forwards to Windows, fake/ keeps the same behaviour in memory and records calls.
// Each one behaves like the Windows call of the same name.
#pragma once
#include "platform/win_kernel.h"

namespace platform {

// Modules and exports.
HMODULE GetModuleHandleA(LPCSTR name);
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
BOOL DisableThreadLibraryCalls(HMODULE module);

// The process's own memory.
HANDLE GetCurrentProcess();
BOOL ReadProcessMemory(HANDLE process, LPCVOID address, LPVOID buffer, SIZE_T size, SIZE_T* read);
BOOL WriteProcessMemory(HANDLE process, LPVOID address, LPCVOID buffer, SIZE_T size,
                        SIZE_T* written);
BOOL FlushInstructionCache(HANDLE process, LPCVOID address, SIZE_T size);
SIZE_T VirtualQuery(LPCVOID address, MEMORY_BASIC_INFORMATION* info, SIZE_T size);

// What the processor can do (PF_XMMI64_INSTRUCTIONS_AVAILABLE: SSE2).
BOOL IsProcessorFeaturePresent(DWORD feature);

// Threads.
HANDLE GetCurrentThread();
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();
BOOL SetThreadPriority(HANDLE thread, int priority);
BOOL GetExitCodeThread(HANDLE thread, DWORD* code);
BOOL TerminateThread(HANDLE thread, DWORD code);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
BOOL CloseHandle(HANDLE handle);
void Sleep(DWORD milliseconds);

// The calling thread's last error, and the local date and time.
DWORD GetLastError();
void GetLocalTime(SYSTEMTIME* time);
// A file time (UTC) in the time zone's local time, and split into its calendar parts.
BOOL FileTimeToLocalFileTime(const FILETIME* file_time, FILETIME* local_file_time);
BOOL FileTimeToSystemTime(const FILETIME* file_time, SYSTEMTIME* system_time);

// Events, and the waits the workers pace themselves with.
HANDLE CreateEventA(LPSECURITY_ATTRIBUTES security, BOOL manual_reset, BOOL initial_state,
                    LPCSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// SetEvent, then ExitThread, with no instruction of the caller's code in between (SetEvent
// returns straight into ExitThread, as FreeLibraryAndExitThread does it): once the event is
// set the caller's code may be unmapped, even while the thread's end still waits for the
// loader's lock.
[[noreturn]] void SetEventAndExitThread(HANDLE event, DWORD code);
// Milliseconds since the system started, wrapping every 49.7 days.
DWORD GetTickCount();

// The process's local atom table.
ATOM AddAtomA(LPCSTR name);
ATOM FindAtomA(LPCSTR name);
UINT GetAtomNameA(ATOM atom, LPSTR buffer, int size);
ATOM DeleteAtom(ATOM atom);

// Files and profile files.
DWORD GetFileAttributesA(LPCSTR path);
// GetFileExInfoStandard only: `information` is a WIN32_FILE_ATTRIBUTE_DATA.
BOOL GetFileAttributesExA(LPCSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID information);
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR buffer,
                               DWORD size, LPCSTR file);

// Named shared memory backed by the paging file.
HANDLE CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES security, DWORD protect,
                          DWORD size_high, DWORD size_low, LPCSTR name);
LPVOID MapViewOfFile(HANDLE mapping, DWORD access, DWORD offset_high, DWORD offset_low,
                     SIZE_T size);
BOOL UnmapViewOfFile(LPCVOID view);
// A region another process made; null, with ERROR_FILE_NOT_FOUND, when none has that name.
HANDLE OpenFileMappingA(DWORD access, BOOL inherit, LPCSTR name);

}  // namespace platform
