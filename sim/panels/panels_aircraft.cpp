// The panel system's aircraft information, reached the way the module reaches it: through
// two addresses embedded in the code of the function at table word 8. The function is
// never called; its bytes read as a small accessor (push ebp ... ret 8).
#include <cstring>

#include "panels_table.h"

namespace panels {
namespace {

struct AircraftObject {
    uint8_t head[SIM_PANELS_AIRCRAFT_TEXT_OFFSET];
    char path[260];
};

uint32_t aircraft_value = SIM_PANELS_AIRCRAFT_VALUE;
AircraftObject aircraft_object = [] {
    AircraftObject object{};
    std::strcpy(object.path, SIM_PANELS_AIRCRAFT_PATH);
    return object;
}();
AircraftObject* current_aircraft = &aircraft_object;

void Put32(uint8_t* at, const void* address) {
    const uint32_t value = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address));
    std::memcpy(at, &value, 4);
}

}  // namespace

void WriteCodeProbe(uint8_t* code) {
    static const uint8_t kBytes[32] = {
        0x55,                       // 0  push ebp
        0x8B, 0xEC,                 // 1  mov ebp, esp
        0x8B, 0x45, 0x08,           // 3  mov eax, [ebp+8]
        0x85, 0xC0,                 // 6  test eax, eax
        0x74, 0x0C,                 // 8  je 22
        0xA1, 0,    0,    0, 0,     // 10 mov eax, [aircraft value]   (address at 11)
        0x8B, 0x55, 0x0C,           // 15 mov edx, [ebp+12]
        0x89, 0x02,                 // 18 mov [edx], eax
        0xEB, 0x06,                 // 20 jmp 28
        0x8B, 0x0D, 0,    0, 0, 0,  // 22 mov ecx, [current aircraft] (address at 24)
        0x5D,                       // 28 pop ebp
        0xC2, 0x08, 0x00,           // 29 ret 8
    };
    std::memcpy(code, kBytes, sizeof kBytes);
    Put32(code + 11, &aircraft_value);
    Put32(code + 24, &current_aircraft);
}

}  // namespace panels
