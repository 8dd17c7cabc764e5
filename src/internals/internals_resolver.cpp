// The simulator-internals resolver. Single-threaded by design: the name fields are readable
// only while one look-up runs, and every caller is a gauge on the simulator's thread.
#include "internals/internals_resolver.h"

#include <cstring>

#include "internals/internal_names.h"
#include "platform/kernel.h"
#include "runtime/address_checks.h"

namespace internals {
namespace {

ResolverState state;

// 0 when the word does not lie in readable memory: a record of another simulator build.
uint32_t WordAt(uintptr_t address, size_t word) {
    const void* at = reinterpret_cast<const void*>(address + 4 * word);
    uint32_t value = 0;
    if (runtime::IsReadable(at, sizeof value))
        std::memcpy(&value, at, sizeof value);
    return value;
}

// A function the simulator's record offers, or null when its entry holds no code.
template <class F>
F FunctionAt(uintptr_t address, size_t word) {
    const uintptr_t entry = WordAt(address, word);
    return entry != 0 && runtime::IsCodeAddress(reinterpret_cast<const void*>(entry))
               ? reinterpret_cast<F>(entry)
               : nullptr;
}

HMODULE FindModule(NameField field) {
    FlipNameField(field);
    HMODULE module = platform::GetModuleHandleA(NameFieldText(field));
    FlipNameField(field);
    return module;
}

uintptr_t FindRecord(HMODULE module) {
    FlipNameField(kExportName);
    FARPROC record = platform::GetProcAddress(module, NameFieldText(kExportName));
    FlipNameField(kExportName);
    return reinterpret_cast<uintptr_t>(record);
}

void DeriveGainItems(uintptr_t record) {
    state.gain_object = nullptr;
    state.gain_table = nullptr;
    state.gain_setter = nullptr;
    state.gain_table_ready = false;
    const uintptr_t object = WordAt(record, kGainObjectWord);
    if (object == 0)
        return;
    const uintptr_t functions = WordAt(object, 0);
    // A gain object has its table of functions, and the seven entries the queries read.
    if (functions == 0 ||
        !runtime::IsReadable(reinterpret_cast<const void*>(functions), 4 * (kGainSetterWord + 1)) ||
        !runtime::IsReadable(reinterpret_cast<const void*>(object + kGainTableOffset),
                             MDN_GAIN_ENTRIES * sizeof(GainEntry))) {
        return;
    }
    state.gain_object = reinterpret_cast<void*>(object);
    state.gain_table = reinterpret_cast<GainEntry*>(object + kGainTableOffset);
    state.gain_setter = FunctionAt<GainSetter>(functions, kGainSetterWord);
    state.gain_table_ready = state.gain_setter != nullptr;
}

void Derive(size_t module, uintptr_t record) {
    switch (module) {
        case kModuleA:
            state.position_angle = FunctionAt<PositionAngleFunction>(record, kPositionAngleWord);
            break;
        case kModuleC:
            DeriveGainItems(record);
            break;
        case kModuleD:
            state.elevation = FunctionAt<ElevationFunction>(record, kElevationWord);
            break;
        default:  // B is only located and counted
            break;
    }
}

}  // namespace

bool ResolveSimulatorInternals() {
    for (size_t m = kModuleA; m <= kModuleD; ++m) {
        if (state.record[m] != 0)
            continue;
        HMODULE module = FindModule(static_cast<NameField>(m));
        if (module == nullptr)
            continue;
        const uintptr_t record = FindRecord(module);
        if (record == 0)
            continue;
        state.record[m] = record;
        ++state.resolved_count;
        Derive(m, record);
    }
    return state.resolved_count == 4;
}

const ResolverState& PrepareSimulatorInternals() {
    if (state.resolve_pending && ResolveSimulatorInternals())
        state.resolve_pending = false;
    return state;
}

const ResolverState& SimulatorInternals() {
    return state;
}

void ResetSimulatorInternals() {
    state = ResolverState{};
}

}  // namespace internals
