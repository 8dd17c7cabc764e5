// The autopilot-source manager: eight times a second, while the active gauge's autopilot
// data is fresh (posted less than 3000 ms ago), copies it into the simulator's flight-model
// object. The value and its time stamp are written on the simulator's thread and read here.
#include <atomic>
#include <cstring>

#include "navigation/autopilot_source.h"
#include "navigation/navigation.h"
#include "platform/clock.h"
#include "platform/kernel.h"
#include "runtime/address_checks.h"

namespace navigation {
namespace {

constexpr DWORD kFreshForMs = 3000;
constexpr size_t kFlightModelFunctionOffset = 23 * sizeof(uint32_t);  // Linkage word 23
constexpr size_t kFlagWordOffset = 4;
constexpr uint32_t kAutopilotDataFlag = 0x10;
constexpr size_t kAutopilotDataOffset = 268;

using FlightModelFn = void*(MDN_STDCALL*)();

// One 8-byte load or store on every 32-bit x86 (std::atomic<double> would need a run-time
// library call on some of the toolchains).
volatile double autopilot_data = 0.0;
std::atomic<uint32_t> autopilot_time{0};  // timeGetTime of the last post; 0: no feed
uintptr_t flight_model = 0;               // found once, then kept

uintptr_t FindFlightModel() {
    HMODULE flight = platform::GetModuleHandleA("flight.dll");
    if (flight == nullptr)
        return 0;
    FARPROC linkage = platform::GetProcAddress(flight, "Linkage");
    if (linkage == nullptr)
        return 0;
    const char* entry = reinterpret_cast<const char*>(linkage) + kFlightModelFunctionOffset;
    FlightModelFn function = nullptr;
    if (!runtime::IsReadable(entry, sizeof function))
        return 0;
    std::memcpy(&function, entry, sizeof function);
    // An entry that holds no code is not called, and an object that cannot take the writes
    // is not kept: both are tried again on the next fresh pass.
    if (function == nullptr || !runtime::IsCodeAddress(reinterpret_cast<const void*>(function)))
        return 0;
    const uintptr_t object = reinterpret_cast<uintptr_t>(function());
    if (object == 0 || !runtime::IsWritable(reinterpret_cast<const void*>(object),
                                            kAutopilotDataOffset + sizeof(double))) {
        return 0;
    }
    return object;
}

}  // namespace

void PostAutopilotData(double value) {
    autopilot_data = value;
    // 0 stands for "no feed", so a post at the clock's zero counts one millisecond later.
    const DWORD now = platform::timeGetTime();
    autopilot_time.store(now != 0 ? now : 1, std::memory_order_release);
}

void ClearAutopilotFeed() {
    autopilot_time.store(0, std::memory_order_relaxed);
}

void ResetAutopilotSource() {
    autopilot_time.store(0, std::memory_order_relaxed);
    flight_model = 0;
}

void LoadAutopilotSource() {
    ResetAutopilotSource();
    autopilot_data = 0.0;
}

double AutopilotData() {
    return autopilot_data;
}
uint32_t AutopilotDataTime() {
    return autopilot_time.load(std::memory_order_relaxed);
}
uintptr_t FlightModelObject() {
    return flight_model;
}

void AutopilotSourcePass() {
    const DWORD posted = autopilot_time.load(std::memory_order_acquire);
    // The unsigned difference makes the wrap of the millisecond clock harmless.
    if (posted == 0 || platform::timeGetTime() - posted >= kFreshForMs)
        return;
    if (flight_model == 0)
        flight_model = FindFlightModel();
    if (flight_model == 0)
        return;
    // One locked instruction: the simulator's own thread may change other bits of the word
    // between a separate read and write, and would lose that change.
    auto* flags = reinterpret_cast<uint32_t*>(flight_model + kFlagWordOffset);
    __atomic_fetch_or(flags, kAutopilotDataFlag, __ATOMIC_SEQ_CST);
    *reinterpret_cast<volatile double*>(flight_model + kAutopilotDataOffset) = autopilot_data;
}

}  // namespace navigation

void MDNFSApMgr::Pass() {
    navigation::AutopilotSourcePass();
}
