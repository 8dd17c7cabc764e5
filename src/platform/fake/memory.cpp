// Fake access to the process's own memory: real copies, scripted failures, every write logged.
#include <cstring>
#include <string>

#include "area.h"
#include "platform/fake_kernel.h"
#include "platform/kernel.h"

namespace fake {
namespace {

Failable failable_memory({"ReadProcessMemory", "WriteProcessMemory"});

}  // namespace
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

BOOL FlushInstructionCache(HANDLE process, LPCVOID address, SIZE_T size) {
    fake::Log("FlushInstructionCache", process, address, size);
    return TRUE;
}

}  // namespace platform
