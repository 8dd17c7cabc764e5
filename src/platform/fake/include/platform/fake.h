// The recording fake platform: what a unit test uses to script the world the module sees and
// to read back what the module did. Every platform call appends one line to the call log,
// "Name(arg, arg, ...)": integers in decimal, handles and addresses as 0x-prefixed hex,
// texts in double quotes (only line feeds escaped, as \n). Tests compare the log with a table of
// expected lines.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/win_types.h"

namespace fake {

// ---- the call log -------------------------------------------------------------------------

// Everything back to a fresh machine: empty log, no modules, windows, keys, files...
void Reset();
void ClearCalls();
std::vector<std::string> Calls();
// The lines whose function name is `name` (the part before the parenthesis).
std::vector<std::string> CallsOf(const std::string& name);
// The lines whose function name is one of `names`, in order.
std::vector<std::string> CallsOf(const std::vector<std::string>& names);
std::vector<std::string> CallsOf(std::initializer_list<const char*> names);
void Record(const std::string& line);

struct HexValue {
    uint32_t value;
};
inline HexValue Hex(uint32_t v) {
    return HexValue{v};
}
std::string Format(HexValue v);
std::string Format(const char* text);  // quoted, or null
std::string Format(const std::string& text);
std::string Format(int64_t v);
std::string Format(uint64_t v);
std::string Format(double v);
template <class T>
std::string Format(T* p) {
    return Format(Hex(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p))));
}
template <class T>
requires std::is_integral_v<T> std::string Format(T v) {
    if constexpr (std::is_signed_v<T>) {
        return Format(static_cast<int64_t>(v));
    } else {
        return Format(static_cast<uint64_t>(v));
    }
}
inline std::string Format(char* text) {
    return Format(static_cast<const char*>(text));
}

template <class... A>
void Log(const char* function, const A&... args) {
    std::string line = function;
    line += '(';
    bool first = true;
    ((line += (first ? "" : ", "), line += Format(args), first = false), ...);
    line += ')';
    Record(line);
}

// Each fake area registers how to return to its fresh state; Reset() runs them all.
struct ResetHook {
    explicit ResetHook(void (*reset)());
};
// Each fake area that hands out handles registers how to close them; CloseHandle asks each.
struct CloseHook {
    explicit CloseHook(bool (*close)(HANDLE));
};
bool CloseAnyHandle(HANDLE handle);

// ---- modules and exports ------------------------------------------------------------------

// Makes `name` a loaded module (compared without regard to case) with a Windows file path.
HMODULE AddModule(const std::string& name, const std::string& file_path = "");
void RemoveModule(const std::string& name);
void AddExport(HMODULE module, const std::string& export_name, const void* address);

// ---- version resources --------------------------------------------------------------------

struct VersionResource {
    std::optional<std::string> file_version;  // no FileVersion text when empty
    bool has_translation = true;
    uint16_t language = 0x0409;
    uint16_t code_page = 0x04B0;
};
// Files are named as GetFileVersionInfoSizeA receives them (full path or bare name).
void SetVersionResource(const std::string& file, const VersionResource& resource);

// ---- process memory -----------------------------------------------------------------------

void SetReadProcessMemoryFails(bool fails);
void SetWriteProcessMemoryFails(bool fails);
// VirtualQuery reports [address, address + size) as a read-only region of its own.
void SetNotWritable(const void* address, size_t size);

// ---- threads ------------------------------------------------------------------------------

void SetThreadCreationFails(bool fails);
// Threads created and not yet closed with CloseHandle.
int OpenThreadCount();
// Threads whose start routine is still running.
int RunningThreadCount();

// ---- windows, hooks, timers, message boxes -------------------------------------------------

HWND AddWindow(const std::string& class_name);
void RemoveWindow(const std::string& class_name);
// A window belongs to the current process and thread unless given another owner.
struct WindowOwner {
    DWORD process;
    DWORD thread;
};
void SetWindowOwner(HWND window, WindowOwner owner);
void SetHookFails(int type, bool fails);
// The procedure installed for a hook type, or null.
HOOKPROC InstalledHook(int type);
int InstalledHookCount();
struct Timer {
    UINT_PTR id;
    UINT period;
    TIMERPROC procedure;
};
std::vector<Timer> ArmedTimers();
// Calls every armed timer's procedure once, as the message loop would.
void FireTimers();

struct MessageBoxShown {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
};
std::vector<MessageBoxShown> MessageBoxes();
// Answers for the next boxes, in order; without one a box answers IDNO for MB_YESNO and IDOK
// otherwise.
void QueueMessageBoxAnswer(int answer);
// Runs `work` while each box shows, as the messages the box's own loop dispatches would (not
// again for a box `work` itself shows).
void WhileMessageBoxShows(std::function<void()> work);

// ---- registry -----------------------------------------------------------------------------

// Value bytes are stored exactly as given: no terminating NUL is added.
void SetRegistryValue(const std::string& key, const std::string& name, const std::string& bytes);
std::optional<std::string> RegistryValue(const std::string& key, const std::string& name);
void SetRegistryOpenFails(bool fails);
void SetRegistryCreateFails(bool fails);

// ---- shell --------------------------------------------------------------------------------

// What the next folder browser returns: a Windows path, or nothing for Cancel.
void QueueFolderChoice(std::optional<std::string> path);
// The status texts the browser's callback set while it ran.
std::vector<std::string> FolderBrowserStatusTexts();
// What CoInitializeEx answers (S_OK unless set): S_FALSE when COM is already there,
// RPC_E_CHANGED_MODE when the thread is in the multithreaded apartment.
void SetComInitializeResult(HRESULT result);

// ---- clock --------------------------------------------------------------------------------

void SetTime(DWORD milliseconds);
void AdvanceTime(DWORD milliseconds);

// ---- files --------------------------------------------------------------------------------

// Windows paths map below a per-process temporary folder: "C:\A\b.txt" -> <root>/C/A/b.txt.
std::string HostPath(const std::string& windows_path);
void WriteFile(const std::string& windows_path, const std::string& content);
std::optional<std::string> ReadFile(const std::string& windows_path);
void MakeDirectory(const std::string& windows_path);
// Makes a file or folder unreadable and unwritable for OpenTextFile (as a locked file).
void SetFileLocked(const std::string& windows_path, bool locked);

// ==== air data: named file mappings ========================================================

void SetCreateFileMappingFails(bool fails);
void SetMapViewOfFileFails(bool fails);
// What the last CreateFileMappingA left as its last error: ERROR_ALREADY_EXISTS when it handed
// back an existing region, ERROR_SUCCESS when it made a new one.
DWORD LastMappingError();
// Opens the named region as another process would (creating it, zero-filled, with `size`
// bytes when it does not exist yet) and keeps it open until CloseMappingAsReader or Reset.
// The region's bytes, for the test to fill and read.
uint8_t* OpenMappingAsReader(const std::string& name, size_t size);
void CloseMappingAsReader(const std::string& name);
// A copy of the named region's bytes, or nothing when no region of that name exists.
std::optional<std::vector<uint8_t>> MappingContents(const std::string& name);
// Mapping handles not yet closed, and views not yet unmapped.
int OpenMappingHandleCount();
int MappedViewCount();

// ==== end of air data =======================================================================

}  // namespace fake

// ---- menus --------------------------------------------------------------------------------

namespace fake {

struct MenuItem {
    UINT flags;
    UINT id;
    std::string text;
    HMENU submenu;
};
// Gives `window` a menu bar of top-level popups with these titles; returns the bar.
HMENU AddMenuBar(HWND window, const std::vector<std::string>& popups);
std::vector<MenuItem> MenuItems(HMENU menu);
void SetCreatePopupMenuFails(bool fails);

}  // namespace fake

// ---- keyboard: local atoms, system hot keys, key state --------------------------------------

namespace fake {

// Atoms held in the local atom table, and the reference count of one (0 when not held).
int AtomCount();
int AtomReferenceCount(ATOM atom);

struct HotKey {
    HWND window;
    int id;
    UINT modifiers;
    UINT virtual_key;
};
// Registered hot keys in the order they were first registered.
std::vector<HotKey> RegisteredHotKeys();
// Presses a key: the next GetAsyncKeyState of it has bit 0 set, and clears it.
void PressKey(int virtual_key);

}  // namespace fake

// ---- call observer (queries and simulator internals) --------------------------------------

namespace fake {

// Runs `observer` with each call's log line while the call is still in progress (after its
// arguments were recorded, before it returns), so a test can look at the module's state at
// that moment. An empty function removes it; Reset() removes it too.
void SetCallObserver(std::function<void(const std::string& line)> observer);
// Called by Record for every line.
void NotifyCallObserver(const std::string& line);

}  // namespace fake

// ---- aligned blocks (bitmap work buffer) ----------------------------------------------------

namespace fake {

// While set, every _aligned_malloc fails (returns null), as when memory runs out.
void SetAlignedMallocFails(bool fails);
// Blocks handed out by _aligned_malloc and not yet given back with _aligned_free.
int LiveAlignedBlocks();

}  // namespace fake

// ---- reliability: what kind of memory an address is --------------------------------------

namespace fake {

// VirtualQuery reports the host process's real mappings; a range marked here is reported as
// executable code besides (a test's buffer standing in for a simulator module's code).
// Reset() forgets the marks.
void MarkAsCode(const void* address, size_t size);

}  // namespace fake
