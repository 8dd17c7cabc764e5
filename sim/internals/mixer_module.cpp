// SIMMIX.DLL: the record whose word 312 is the gain object: its first word leads to a table
// of functions whose word 5 sets the gains, and its seven gain entries start 48 bytes in.
#include <windows.h>

#include <cmath>
#include <cstddef>

#include "runtime/simulator_layout.h"
#include "sim_internals.h"

namespace {

using runtime::GainEntry;

struct GainObject {
    const void* const* functions;
    uint32_t reserved[11];
    GainEntry table[MDN_GAIN_ENTRIES];
};
static_assert(offsetof(GainObject, table) == runtime::kGainTableOffset);

uint32_t MDN_STDCALL Unused(void*) {
    return 0;
}

// The simulator keeps levels in decibels; silence is -100 dB.
uint32_t MDN_STDCALL SetGains(void* object, const MdnGainPair* pairs, uint32_t count) {
    auto* gains = static_cast<GainObject*>(object);
    for (uint32_t k = 0; k < count && k < MDN_GAIN_ENTRIES; ++k) {
        gains->table[k].level_db = pairs[k].gain > 0.0f ? 20.0 * std::log10(pairs[k].gain) : -100.0;
        gains->table[k].word = pairs[k].word;
    }
    return 1;
}

const void* const kFunctions[8] = {
    reinterpret_cast<const void*>(&Unused), reinterpret_cast<const void*>(&Unused),
    reinterpret_cast<const void*>(&Unused), reinterpret_cast<const void*>(&Unused),
    reinterpret_cast<const void*>(&Unused), reinterpret_cast<const void*>(&SetGains),
    reinterpret_cast<const void*>(&Unused), reinterpret_cast<const void*>(&Unused),
};
static_assert(runtime::kGainSetterWord == 5);

GainObject MakeGainObject() {
    GainObject object{};
    object.functions = kFunctions;
    const double levels[MDN_GAIN_ENTRIES] = SIM_MIX_LEVELS;
    for (uint32_t k = 0; k < MDN_GAIN_ENTRIES; ++k) {
        object.table[k].level_db = levels[k];
        object.table[k].word = SIM_MIX_WORD(k);
    }
    return object;
}

GainObject gain_object = MakeGainObject();

}  // namespace

namespace mix_dll {

struct MixRecord {
    uint32_t head[runtime::kGainObjectWord];
    GainObject* gain_object;
    uint32_t tail[3];
};
static_assert(offsetof(MixRecord, gain_object) == 4 * runtime::kGainObjectWord);

}  // namespace mix_dll

extern "C" {
__declspec(dllexport) mix_dll::MixRecord InternalsRecord = {{0x4D495831u}, &gain_object, {}};
// Its size, so that fs9.exe --poke writes inside it only.
__declspec(dllexport) uint32_t InternalsRecordSize = sizeof InternalsRecord;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        DisableThreadLibraryCalls(instance);
    return TRUE;
}
