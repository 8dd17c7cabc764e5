// Distinct device callbacks that count their calls, for the navigation tests.
#pragma once
#include <array>
#include <cstdint>

#include "mdnsrv.h"

namespace navtest {

inline std::array<int, 8> device_calls{};

template <int N>
void MDN_STDCALL DeviceCallback() {
    ++device_calls[N];
}

inline uint32_t HandleOf(MdnNavDeviceCallback callback) {
    return ~static_cast<uint32_t>(reinterpret_cast<uintptr_t>(callback));
}

}  // namespace navtest
