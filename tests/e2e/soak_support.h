// What the soak, load and fault gauges share: the process's resource figures, the module
// loaded by the gauge itself (fs9.exe --no-module) the way the simulator loads it, and the
// module's operation table.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>

#include "e2e_support.h"
#include "mdnsrv.h"

namespace soak {

// What the process holds now. Heap bytes are the busy blocks of every heap (HeapWalk);
// committed bytes are the private memory VirtualQuery reports committed.
struct Resources {
    DWORD handles = 0;
    DWORD unnamed_semaphores = 0;  // of the handles
    uint32_t threads = 0;
    uint64_t heap_bytes = 0;
    uint64_t heap_blocks = 0;
    uint64_t committed_bytes = 0;
};

inline uint64_t CommittedPrivateBytes() {
    uint64_t total = 0;
    const char* at = nullptr;
    MEMORY_BASIC_INFORMATION info;
    while (VirtualQuery(at, &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            total += info.RegionSize;
        const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
}

inline void BusyHeapBytes(uint64_t* bytes, uint64_t* blocks) {
    *bytes = 0;
    *blocks = 0;
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                *bytes += entry.cbData;
                ++*blocks;
            }
        }
        HeapUnlock(heaps[i]);
    }
}

// Open handles, counted by asking about each possible handle value (Wine answers the
// process's handle count with 0); unnamed semaphores are counted apart as well, because the
// compiler's static C++ unwinder makes one for its lock each time the module is loaded and
// never closes it.
inline void CountHandles(DWORD* all, DWORD* unnamed_semaphores) {
    typedef LONG(WINAPI * QueryObjectFn)(HANDLE, int, void*, ULONG, ULONG*);
    static const auto query = reinterpret_cast<QueryObjectFn>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryObject"));
    struct Text {  // UNICODE_STRING
        USHORT length, maximum;
        const wchar_t* buffer;
    };
    *all = 0;
    *unnamed_semaphores = 0;
    for (uintptr_t value = 4; value < 0x10000; value += 4) {
        HANDLE handle = reinterpret_cast<HANDLE>(value);
        DWORD flags = 0;
        if (!GetHandleInformation(handle, &flags))
            continue;
        ++*all;
        alignas(8) unsigned char type[512] = {}, name[1024] = {};
        ULONG size = 0;
        if (query == nullptr || query(handle, 2, type, sizeof type, &size) != 0 ||
            query(handle, 1, name, sizeof name, &size) != 0) {
            continue;
        }
        const auto* type_name = reinterpret_cast<const Text*>(type);
        const auto* object_name = reinterpret_cast<const Text*>(name);
        if (type_name->buffer && type_name->length == 9 * sizeof(wchar_t) &&
            std::wcsncmp(type_name->buffer, L"Semaphore", 9) == 0 && object_name->length == 0) {
            ++*unnamed_semaphores;
        }
    }
}

inline Resources Measure(const SimDriver* d) {
    Resources r;
    CountHandles(&r.handles, &r.unnamed_semaphores);
    r.threads = d->ThreadCount();
    BusyHeapBytes(&r.heap_bytes, &r.heap_blocks);
    r.committed_bytes = CommittedPrivateBytes();
    return r;
}

inline void LogResources(const SimDriver* d, const char* when, const Resources& r) {
    SimLogf(d,
            "resources %s: %lu handles (%lu unnamed semaphores), %u threads, %llu heap bytes in "
            "%llu blocks, %llu KB committed",
            when, static_cast<unsigned long>(r.handles),
            static_cast<unsigned long>(r.unnamed_semaphores), static_cast<unsigned>(r.threads),
            static_cast<unsigned long long>(r.heap_bytes),
            static_cast<unsigned long long>(r.heap_blocks),
            static_cast<unsigned long long>(r.committed_bytes / 1024));
}

inline std::string ModulePath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    folder = folder.substr(0, folder.find_last_of('\\'));
    return folder + "\\" MDN_MODULE_FILE_NAME;
}

inline const MdnOperationTable* Operations(HMODULE module) {
    const auto* service =
        reinterpret_cast<const MdnServiceObject*>(GetProcAddress(module, MDN_SERVICE_SYMBOL));
    return service ? service->table : nullptr;
}

// Loads MdnSrv.dll as fs9.exe does: on the main thread, then the panels function table into
// its ImportTable and its Linkage initialisation called. Null when it does not load.
inline HMODULE LoadModule(const SimDriver* d) {
    HMODULE module = LoadLibraryA(ModulePath().c_str());
    if (module == nullptr)
        return nullptr;
    auto* imports = reinterpret_cast<MdnImportEntry*>(GetProcAddress(module, "ImportTable"));
    if (imports && imports[0].module_id == 0x0F)
        imports[0].table = const_cast<void**>(d->PanelsTable());
    auto* linkage = reinterpret_cast<MdnLinkage*>(GetProcAddress(module, "Linkage"));
    if (linkage && linkage->init)
        linkage->init();
    return module;
}

// The reverse; true when the module is gone from the process afterwards.
inline bool UnloadModule(HMODULE module) {
    auto* linkage = reinterpret_cast<MdnLinkage*>(GetProcAddress(module, "Linkage"));
    if (linkage && linkage->deinit)
        linkage->deinit();
    FreeLibrary(module);
    return GetModuleHandleA(MDN_MODULE_FILE_NAME) == nullptr;
}

// Sends the messages the module's hooks look at and runs the loop a moment: a hook or timer
// left behind by an unloaded module would now call into freed code.
inline void ExerciseWindow(const SimDriver* d) {
    HWND window = static_cast<HWND>(d->main_window);
    SendMessageA(window, WM_ACTIVATEAPP, FALSE, 0);
    SendMessageA(window, WM_ACTIVATEAPP, TRUE, 0);
    SendMessageA(window, WM_NCPAINT, 1, 0);
    SendMessageA(window, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(window)), 0);
    PostMessageA(window, WM_HOTKEY, 0xC000, 0);
    d->Pump(0);
}

// Unit helpers for the figures the tests print.
inline long long Growth(uint64_t before, uint64_t after) {
    return static_cast<long long>(after) - static_cast<long long>(before);
}

}  // namespace soak
