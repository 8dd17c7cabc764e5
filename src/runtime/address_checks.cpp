#include "runtime/address_checks.h"

#include <cstdint>

#include "platform/kernel.h"
#include "platform/win_memory.h"

namespace runtime {
namespace {

constexpr DWORD kExecutable =
    PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                            PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
constexpr DWORD kWritable =
    PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
// The lowest 64 KB are never mapped on Windows: small numbers are not addresses.
constexpr uintptr_t kLowestAddress = 0x10000;

bool Committed(const void* address, DWORD wanted, MEMORY_BASIC_INFORMATION* info) {
    if (reinterpret_cast<uintptr_t>(address) < kLowestAddress)
        return false;
    if (platform::VirtualQuery(address, info, sizeof *info) != sizeof *info)
        return false;
    return info->State == MEM_COMMIT && (info->Protect & wanted) != 0 &&
           (info->Protect & PAGE_GUARD) == 0;
}

}  // namespace

bool IsCodeAddress(const void* address) {
    MEMORY_BASIC_INFORMATION info;
    return Committed(address, kExecutable, &info);
}

// Every region the range touches has one of the `wanted` protections.
static bool AllCommitted(const void* address, size_t size, DWORD wanted) {
    const uintptr_t begin = reinterpret_cast<uintptr_t>(address);
    if (size == 0)
        return true;
    if (begin + size < begin)
        return false;
    uintptr_t at = begin;
    while (at < begin + size) {
        MEMORY_BASIC_INFORMATION info;
        if (!Committed(reinterpret_cast<const void*>(at), wanted, &info))
            return false;
        const uintptr_t end = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
        if (end <= at)
            return false;
        at = end;
    }
    return true;
}

bool IsReadable(const void* address, size_t size) {
    return AllCommitted(address, size, kReadable);
}

bool IsWritable(const void* address, size_t size) {
    return AllCommitted(address, size, kWritable);
}

}  // namespace runtime
