// KERNEL32 port: plain forwarding to Windows.
#include "platform/kernel.h"

namespace platform {

HMODULE GetModuleHandleA(LPCSTR name) {
    return ::GetModuleHandleA(name);
}
FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    return ::GetProcAddress(module, name);
}
DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
    return ::GetModuleFileNameA(module, buffer, size);
}
BOOL DisableThreadLibraryCalls(HMODULE module) {
    return ::DisableThreadLibraryCalls(module);
}

HANDLE GetCurrentProcess() {
    return ::GetCurrentProcess();
}
BOOL ReadProcessMemory(HANDLE process, LPCVOID address, LPVOID buffer, SIZE_T size, SIZE_T* read) {
    return ::ReadProcessMemory(process, address, buffer, size, read);
}
BOOL WriteProcessMemory(HANDLE process, LPVOID address, LPCVOID buffer, SIZE_T size,
                        SIZE_T* written) {
    return ::WriteProcessMemory(process, address, buffer, size, written);
}
BOOL FlushInstructionCache(HANDLE process, LPCVOID address, SIZE_T size) {
    return ::FlushInstructionCache(process, address, size);
}
SIZE_T VirtualQuery(LPCVOID address, MEMORY_BASIC_INFORMATION* info, SIZE_T size) {
    return ::VirtualQuery(address, info, size);
}

BOOL IsProcessorFeaturePresent(DWORD feature) {
    return ::IsProcessorFeaturePresent(feature);
}

HANDLE GetCurrentThread() {
    return ::GetCurrentThread();
}
DWORD GetCurrentThreadId() {
    return ::GetCurrentThreadId();
}
DWORD GetCurrentProcessId() {
    return ::GetCurrentProcessId();
}
BOOL SetThreadPriority(HANDLE thread, int priority) {
    return ::SetThreadPriority(thread, priority);
}
BOOL GetExitCodeThread(HANDLE thread, DWORD* code) {
    DWORD value = 0;
    BOOL ok = ::GetExitCodeThread(thread, &value);
    *code = value;
    return ok;
}
BOOL TerminateThread(HANDLE thread, DWORD code) {
    return ::TerminateThread(thread, code);
}
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return ::WaitForSingleObject(handle, milliseconds);
}
BOOL CloseHandle(HANDLE handle) {
    return ::CloseHandle(handle);
}
void Sleep(DWORD milliseconds) {
    ::Sleep(milliseconds);
}

DWORD GetLastError() {
    return ::GetLastError();
}
void GetLocalTime(SYSTEMTIME* time) {
    ::GetLocalTime(time);
}
BOOL FileTimeToLocalFileTime(const FILETIME* file_time, FILETIME* local_file_time) {
    return ::FileTimeToLocalFileTime(file_time, local_file_time);
}
BOOL FileTimeToSystemTime(const FILETIME* file_time, SYSTEMTIME* system_time) {
    return ::FileTimeToSystemTime(file_time, system_time);
}
HANDLE CreateEventA(LPSECURITY_ATTRIBUTES security, BOOL manual_reset, BOOL initial_state,
                    LPCSTR name) {
    return ::CreateEventA(security, manual_reset, initial_state, name);
}
BOOL SetEvent(HANDLE event) {
    return ::SetEvent(event);
}
BOOL ResetEvent(HANDLE event) {
    return ::ResetEvent(event);
}
void SetEventAndExitThread(HANDLE event, DWORD code) {
    // The stack SetEvent returns from holds ExitThread's address as its return address, and
    // below it ExitThread's own frame: a return address never used and the exit code. Both
    // addresses are KERNEL32's own (the imports' targets), not code of this module.
    BOOL(WINAPI* const set_event)(HANDLE) = &::SetEvent;
    void(WINAPI* const exit_thread)(DWORD) = &::ExitThread;
    __asm__ volatile(
        "pushl %[code]\n\t"
        "pushl $0\n\t"
        "pushl %[event]\n\t"
        "pushl %[exit]\n\t"
        "jmp *%[set]"
        :
        : [code] "r"(code), [event] "r"(event), [exit] "r"(exit_thread), [set] "r"(set_event)
        : "memory");
    __builtin_unreachable();
}
DWORD GetTickCount() {
    return ::GetTickCount();
}

ATOM AddAtomA(LPCSTR name) {
    return ::AddAtomA(name);
}
ATOM FindAtomA(LPCSTR name) {
    return ::FindAtomA(name);
}
UINT GetAtomNameA(ATOM atom, LPSTR buffer, int size) {
    return ::GetAtomNameA(atom, buffer, size);
}
ATOM DeleteAtom(ATOM atom) {
    return ::DeleteAtom(atom);
}

DWORD GetFileAttributesA(LPCSTR path) {
    return ::GetFileAttributesA(path);
}
BOOL GetFileAttributesExA(LPCSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID information) {
    return ::GetFileAttributesExA(path, level, information);
}
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR buffer,
                               DWORD size, LPCSTR file) {
    return ::GetPrivateProfileStringA(section, key, fallback, buffer, size, file);
}

HANDLE CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES security, DWORD protect,
                          DWORD size_high, DWORD size_low, LPCSTR name) {
    return ::CreateFileMappingA(file, security, protect, size_high, size_low, name);
}
LPVOID MapViewOfFile(HANDLE mapping, DWORD access, DWORD offset_high, DWORD offset_low,
                     SIZE_T size) {
    return ::MapViewOfFile(mapping, access, offset_high, offset_low, size);
}
BOOL UnmapViewOfFile(LPCVOID view) {
    return ::UnmapViewOfFile(view);
}
HANDLE OpenFileMappingA(DWORD access, BOOL inherit, LPCSTR name) {
    return ::OpenFileMappingA(access, inherit, name);
}

}  // namespace platform
