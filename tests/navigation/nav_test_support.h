// Distinct device callbacks that count their calls, for the navigation tests.
#pragma once
#include <array>
#include <cstdint>

#include "mdnsrv.h"
#include "runtime/address_word.h"

namespace navtest {

inline std::array<int, 8> device_calls{};

template <int N>
void MDN_STDCALL DeviceCallback() {
    ++device_calls[N];
}

inline uint32_t HandleOf(MdnNavDeviceCallback callback) {
    return ~runtime::AddressWord(callback);
}

}  // namespace navtest
