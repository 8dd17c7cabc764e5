// Fake VirtualQuery: the host process's real mappings (/proc/self/maps), so the functions and
// records a test hands the module are code and data exactly as they are in memory. Code is
// found from the loaded objects' own program headers first: a user-mode emulator running
// this i386 program on a host without 32-bit execution shows the program's code in its maps
// as readable only.
#include <link.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "area.h"
#include "platform/fake_kernel.h"
#include "platform/kernel.h"
#include "platform/win_memory.h"

namespace {

struct Range {
    uintptr_t begin, end;
};
std::vector<Range>& MarkedCode() {
    static std::vector<Range> ranges;
    return ranges;
}
std::vector<Range>& NotWritable() {
    static std::vector<Range> ranges;
    return ranges;
}
fake::ResetHook reset_marks([] {
    MarkedCode().clear();
    NotWritable().clear();
});

bool Report(const Range& r, DWORD protect, MEMORY_BASIC_INFORMATION* info) {
    info->BaseAddress = info->AllocationBase = reinterpret_cast<void*>(r.begin);
    info->RegionSize = r.end - r.begin;
    info->State = MEM_COMMIT;
    info->Protect = info->AllocationProtect = protect;
    info->Type = MEM_PRIVATE;
    return true;
}

struct CodeSearch {
    uintptr_t at;
    Range found;
};

// dl_iterate_phdr's callback: the executable segment of a loaded object holding `at`.
int FindCodeSegment(dl_phdr_info* object, size_t, void* data) {
    auto* search = static_cast<CodeSearch*>(data);
    for (int i = 0; i < object->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = object->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD || (segment.p_flags & PF_X) == 0)
            continue;
        constexpr uintptr_t kPage = 4096;
        const uintptr_t begin = (object->dlpi_addr + segment.p_vaddr) & ~(kPage - 1);
        const uintptr_t end =
            (object->dlpi_addr + segment.p_vaddr + segment.p_memsz + kPage - 1) & ~(kPage - 1);
        if (search->at >= begin && search->at < end) {
            search->found = Range{begin, end};
            return 1;
        }
    }
    return 0;
}

DWORD Protection(const char* perms) {
    const bool r = perms[0] == 'r', w = perms[1] == 'w', x = perms[2] == 'x';
    if (x)
        return w ? PAGE_EXECUTE_READWRITE : r ? PAGE_EXECUTE_READ : PAGE_EXECUTE;
    if (w)
        return PAGE_READWRITE;
    return r ? PAGE_READONLY : PAGE_NOACCESS;
}

}  // namespace

namespace fake {

void MarkAsCode(const void* address, size_t size) {
    const uintptr_t begin = reinterpret_cast<uintptr_t>(address);
    MarkedCode().push_back(Range{begin, begin + size});
}

void SetNotWritable(const void* address, size_t size) {
    const uintptr_t begin = reinterpret_cast<uintptr_t>(address);
    NotWritable().push_back(Range{begin, begin + size});
}

}  // namespace fake

namespace platform {

SIZE_T VirtualQuery(LPCVOID address, MEMORY_BASIC_INFORMATION* info, SIZE_T size) {
    fake::Log("VirtualQuery", address);
    if (info == nullptr || size < sizeof *info)
        return 0;
    const uintptr_t at = reinterpret_cast<uintptr_t>(address);
    std::memset(info, 0, sizeof *info);
    for (const Range& r : NotWritable()) {
        if (at >= r.begin && at < r.end && Report(r, PAGE_READONLY, info))
            return sizeof *info;
    }
    for (const Range& r : MarkedCode()) {
        if (at >= r.begin && at < r.end && Report(r, PAGE_EXECUTE_READWRITE, info))
            return sizeof *info;
    }
    CodeSearch code{at, {}};
    if (dl_iterate_phdr(&FindCodeSegment, &code) != 0 &&
        Report(code.found, PAGE_EXECUTE_READ, info))
        return sizeof *info;
    std::FILE* maps = std::fopen("/proc/self/maps", "r");
    if (maps == nullptr)
        return 0;
    char line[512];
    uintptr_t free_begin = 0, free_end = UINTPTR_MAX;
    bool found = false;
    while (std::fgets(line, sizeof line, maps)) {
        uintmax_t begin = 0, end = 0;
        char perms[8] = {};
        if (std::sscanf(line, "%jx-%jx %7s", &begin, &end, perms) != 3)
            continue;
        if (at >= begin && at < end) {
            info->BaseAddress = reinterpret_cast<void*>(static_cast<uintptr_t>(begin));
            info->AllocationBase = info->BaseAddress;
            info->RegionSize = static_cast<SIZE_T>(end - begin);
            info->State = MEM_COMMIT;
            info->Protect = info->AllocationProtect = Protection(perms);
            info->Type = MEM_PRIVATE;
            found = true;
            break;
        }
        if (end <= at)
            free_begin = static_cast<uintptr_t>(end);
        else if (begin > at && free_end == UINTPTR_MAX)
            free_end = static_cast<uintptr_t>(begin);
    }
    std::fclose(maps);
    if (!found) {
        info->BaseAddress = reinterpret_cast<void*>(free_begin);
        info->RegionSize = free_end - free_begin;
        info->State = MEM_FREE;
        info->Protect = PAGE_NOACCESS;
    }
    return sizeof *info;
}

}  // namespace platform
