// The panel system's code as the module sees it: a writable, executable region whose byte
// 0x309F0 is the lookup's entry point (a jump to the real lookup), so the bytes the module
// patches relative to the lookup land inside it. The region is filled with a byte that none
// of the expected patch bytes equals, so each byte that arrived can be told apart.
#include <windows.h>

#include <cstring>

#include "panels_table.h"

namespace panels {
namespace {

#pragma pack(push, 1)
struct JumpRel32 {
    uint8_t opcode;  // 0xE9
    int32_t displacement;
};
#pragma pack(pop)
static_assert(sizeof(JumpRel32) == 5, "a relative jump is five bytes");

struct PatchByte {
    uint32_t offset;  // from the lookup's entry point minus 0x309F0
    uint8_t value;    // bytes 2 to 5 are the address of Linkage word 40
};
constexpr PatchByte kPatch[SIM_PANELS_PATCH_BYTES] = {
    {0x309E8, 0xFF}, {0x309E9, 0x25}, {0x309EA, 0},    {0x309EB, 0},    {0x309EC, 0},
    {0x309ED, 0},    {0x1CAA, 0x3A},  {0x1F698, 0x4C}, {0x1F6A1, 0x43}, {0x1F6AD, 0x37},
    {0x206BF, 0x25}, {0x206C8, 0x1C}, {0x20F9D, 0x47}, {0x2161E, 0xC6}, {0x21627, 0xBD},
    {0x21E0D, 0xD7}, {0x22B18, 0xCC},
};
constexpr uint32_t kProbeOffset = 0x100;  // far below the lowest patched byte

uint8_t* region = nullptr;

uint8_t Expected(unsigned i) {
    if (i >= 2 && i <= 5) {
        const uintptr_t entry = reinterpret_cast<uintptr_t>(&Linkage[kLookupWord]);
        return static_cast<uint8_t>(entry >> (8 * (i - 2)));
    }
    return kPatch[i].value;
}

uint8_t FillByte() {
    for (unsigned candidate = 0x90; candidate < 0x190; ++candidate) {
        const uint8_t fill = static_cast<uint8_t>(candidate);
        bool clash = false;
        for (unsigned i = 0; i < SIM_PANELS_PATCH_BYTES; ++i)
            clash |= Expected(i) == fill;
        if (!clash)
            return fill;
    }
    return 0x90;
}

}  // namespace

bool CreateCodeRegion() {
    region = static_cast<uint8_t*>(VirtualAlloc(nullptr, SIM_PANELS_REGION_SIZE,
                                                MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    if (region == nullptr)
        return false;
    std::memset(region, FillByte(), SIM_PANELS_REGION_SIZE);

    uint8_t* lookup = region + SIM_PANELS_LOOKUP_OFFSET;
    JumpRel32 jump{0xE9, static_cast<int32_t>(reinterpret_cast<uintptr_t>(&Lookup) -
                                              reinterpret_cast<uintptr_t>(lookup + 5))};
    std::memcpy(lookup, &jump, sizeof jump);
    Linkage[kLookupWord] = reinterpret_cast<uintptr_t>(lookup);

    WriteCodeProbe(region + kProbeOffset);
    Linkage[kCodeProbeWord] = reinterpret_cast<uintptr_t>(region + kProbeOffset);
    FlushInstructionCache(GetCurrentProcess(), region, SIM_PANELS_REGION_SIZE);
    return true;
}

void DestroyCodeRegion() {
    if (region)
        VirtualFree(region, 0, MEM_RELEASE);
    region = nullptr;
}

uintptr_t CodeRegionBase() {
    return reinterpret_cast<uintptr_t>(region);
}

}  // namespace panels

extern "C" __declspec(dllexport) uint32_t __stdcall SimPanelsPatchMask() {
    if (panels::region == nullptr)
        return 0;
    uint32_t mask = 0;
    for (unsigned i = 0; i < SIM_PANELS_PATCH_BYTES; ++i) {
        if (panels::region[panels::kPatch[i].offset] == panels::Expected(i))
            mask |= 1u << i;
    }
    return mask;
}

extern "C" __declspec(dllexport) void __stdcall SimPanelsPatchBytes(uint8_t* out17) {
    if (out17 == nullptr)
        return;
    for (unsigned i = 0; i < SIM_PANELS_PATCH_BYTES; ++i) {
        out17[i] = panels::region ? panels::region[panels::kPatch[i].offset] : 0;
    }
}
