// Variable query records with any token against any state block, either device active, the
// VOR pass-through flag either way and up to four range handlers with any ranges, answers and
// re-entrant registrations. Nothing may be touched outside the query record.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "host/module_entry.h"
#include "navigation/autopilot_source.h"
#include "navigation/gps_info.h"
#include "navigation/nav_registry.h"
#include "navigation/panels_hook.h"
#include "navigation/navigation.h"
#include "platform/fake.h"
#include "runtime/address_word.h"

namespace {

struct HandlerScript {
    uint32_t first;
    uint32_t last;
    uint8_t answer;  // bit 0 handled; bit 1 unregister itself; bit 2 unregister handler 0;
                     // bit 3 register handler 3
};
HandlerScript scripts[4];
int saved_calls = 0;

uint32_t MDN_STDCALL SimulatorLookup(MdnVariableQuery*) {
    ++saved_calls;
    return 7;
}

template <int N>
uint32_t MDN_STDCALL Handler(MdnVariableQuery* query);

uint32_t HandleOf(MdnRangeHandler handler) {
    return ~runtime::AddressWord(handler);
}

template <int N>
uint32_t MDN_STDCALL Handler(MdnVariableQuery* query) {
    const uint8_t answer = scripts[N].answer;
    query->value.f64 = N;
    if (answer & 2)
        navigation::UnregisterRangeHandler(HandleOf(&Handler<N>));
    if (answer & 4)
        navigation::UnregisterRangeHandler(HandleOf(&Handler<0>));
    if (answer & 8)
        navigation::RegisterRangeHandler(&Handler<3>, scripts[3].first, scripts[3].last);
    return answer & 1;
}

template <class T>
T Take(const uint8_t*& data, size_t& size) {
    T value{};
    const size_t n = std::min(size, sizeof value);
    std::memcpy(&value, data, n);
    data += n, size -= n;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int32_t token = Take<int32_t>(data, size);
    const uint8_t options = Take<uint8_t>(data, size);  // bit 0 gauge, bit 1 VOR, bits 4-6 handlers
    for (HandlerScript& script : scripts)
        script = Take<HandlerScript>(data, size);
    MdnPanelsHookState state = Take<MdnPanelsHookState>(data, size);

    fake::Reset();
    host::OnLoad();
    uint32_t linkage[64] = {};
    linkage[40] = runtime::AddressWord(&SimulatorLookup);
    fake::AddExport(fake::AddModule("PANELS.DLL"), "Linkage", linkage);
    fake::Fail("WriteProcessMemory");  // the patch bytes cannot land in this program
    navigation::LinkPanels();
    const uint32_t gps = navigation::RegisterNavDevice(
        reinterpret_cast<MdnNavDeviceCallback>(0x1000), "Flight Simulator GPS", "GPS");
    const uint32_t gauge =
        navigation::RegisterNavDevice(reinterpret_cast<MdnNavDeviceCallback>(0x2000), "Gauge", "G");
    navigation::SelectNavDevice(options & 1 ? gauge : gps, nullptr, nullptr);
    navigation::SetVorPassThrough(options & 2);
    std::memcpy(navigation::GetPanelsHookState(), &state, sizeof state);
    const MdnRangeHandler handlers[] = {&Handler<0>, &Handler<1>, &Handler<2>};
    for (int i = 0; i < (options >> 4 & 3); ++i) {
        navigation::RegisterRangeHandler(handlers[i], scripts[i].first, scripts[i].last);
    }

    // The record on the heap at its exact size, so any access beside it is caught.
    auto query = std::make_unique<MdnVariableQuery>();
    query->token = token;
    saved_calls = 0;
    const auto lookup = reinterpret_cast<uint32_t(MDN_STDCALL*)(MdnVariableQuery*)>(
        static_cast<uintptr_t>(linkage[40]));
    lookup(query.get());
    if (query->token != token || saved_calls > 1)
        __builtin_trap();
    lookup(nullptr);

    navigation::UnhookPanels();
    if (linkage[40] != reinterpret_cast<uintptr_t>(&SimulatorLookup))
        __builtin_trap();
    host::OnUnload();
    return 0;
}
