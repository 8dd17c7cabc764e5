// Fake access to the process's own memory: real copies, scripted failures, every write logged.
#include <cstring>
#include <vector>

#include "area.h"
#include "platform/fake_kernel.h"
#include "platform/kernel.h"

namespace fake {
namespace {

struct Range {
    uintptr_t begin;
    uintptr_t end;
};
struct State {
    std::vector<Range> not_writable;
} state;

Failable failable_memory({"ReadProcessMemory", "WriteProcessMemory"});
ResetHook reset_memory([] { state = State{}; });

}  // namespace

void SetNotWritable(const void* address, size_t size) {
    const auto begin = reinterpret_cast<uintptr_t>(address);
    state.not_writable.push_back(Range{begin, begin + size});
}

}  // namespace fake

namespace platform {

HANDLE GetCurrentProcess() {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
}

BOOL ReadProcessMemory(HANDLE process, LPCVOID address, LPVOID buffer, SIZE_T size, SIZE_T* read) {
    const std::string call = fake::Log("ReadProcessMemory", process, address, size);
    if (read)
        *read = 0;
    if (fake::Failing(call) || address == nullptr || buffer == nullptr)
        return FALSE;
    std::memcpy(buffer, address, size);
    if (read)
        *read = size;
    return TRUE;
}

BOOL WriteProcessMemory(HANDLE process, LPVOID address, LPCVOID buffer, SIZE_T size,
                        SIZE_T* written) {
    const std::string call = size == 1 && buffer != nullptr
                                 ? fake::Log("WriteProcessMemory", process, address,
                                             fake::Hex(*static_cast<const unsigned char*>(buffer)))
                                 : fake::Log("WriteProcessMemory", process, address, size);
    if (written)
        *written = 0;
    if (fake::Failing(call) || address == nullptr || buffer == nullptr)
        return FALSE;
    std::memcpy(address, buffer, size);
    if (written)
        *written = size;
    return TRUE;
}

BOOL IsBadWritePtr(LPVOID address, UINT_PTR size) {
    fake::Log("IsBadWritePtr", address, size);
    const auto begin = reinterpret_cast<uintptr_t>(address);
    if (address == nullptr)
        return TRUE;
    for (const auto& r : fake::state.not_writable) {
        if (begin < r.end && r.begin < begin + size)
            return TRUE;
    }
    return FALSE;
}

}  // namespace platform
