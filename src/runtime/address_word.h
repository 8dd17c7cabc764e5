// Records shared with the simulator and the gauges hold addresses as 32-bit words: the module
// and both of its peers are 32-bit code, so a word holds any address without loss.
#pragma once
#include <cstdint>

namespace runtime {

static_assert(sizeof(void*) == sizeof(uint32_t), "the module is 32-bit code");

// The address of an object or a function as the 32-bit word a shared record stores.
template <class T>
uint32_t AddressWord(T* address) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
}

}  // namespace runtime
