// Arbitrary simulator GPS data blocks: any size word, counts, active indices and a null or
// exact-size waypoint array. The pass must read nothing outside what the block describes and
// leave a record whose list and identifiers stay within their fields.
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
#include "service/exports.h"
#include "runtime/import_table.h"
#include "runtime/address_word.h"

namespace {

constexpr size_t kBlockSize = 176;
constexpr size_t kEntrySize = 64;
// Past the module's cap of 1,024 waypoints, so the cap itself is driven too.
constexpr int32_t kMaxEntries = 1100;

alignas(8) uint8_t block[kBlockSize];
void* panels_table[80];

void MDN_STDCALL NamedVariable(MdnVariableQuery* record, const char*) {
    record->reserved4[0] = runtime::AddressWord(block);
}

void MDN_STDCALL SimulatorGpsActivated() {}

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Byte 0: bit 0 null array, bit 1 a gauge is active, bit 2 no GPS information users.
    if (size < 1)
        return 0;
    const uint8_t options = data[0];
    ++data, --size;
    std::memset(block, 0, sizeof block);
    std::memcpy(block, data, std::min(size, kBlockSize));
    data += std::min(size, kBlockSize);
    size -= std::min(size, kBlockSize);

    // The array holds exactly as many entries as the block states (counts past what the
    // input can fill are folded back), so any read past it is caught.
    int32_t count = 0;
    std::memcpy(&count, block + 168, 4);
    if (count > kMaxEntries)
        count %= kMaxEntries + 1;
    std::memcpy(block + 168, &count, 4);
    const size_t entries = count > 0 ? static_cast<size_t>(count) : 0;
    std::unique_ptr<uint8_t[]> array(new uint8_t[entries * kEntrySize]);
    for (size_t i = 0; i < entries * kEntrySize; ++i)
        array[i] = i < size ? data[i] : 0;
    const uint32_t address = options & 1 ? 0 : runtime::AddressWord(array.get());
    std::memcpy(block + 172, &address, 4);

    fake::Reset();
    host::OnLoad();
    panels_table[runtime::kPanelsNamedVariable] = reinterpret_cast<void*>(&NamedVariable);
    ImportTable[0].table = panels_table;
    const uint32_t gps =
        navigation::RegisterNavDevice(&SimulatorGpsActivated, "Flight Simulator GPS", "GPS");
    navigation::SelectNavDevice(gps, nullptr, nullptr);
    if (options & 2) {
        navigation::SelectNavDevice(
            navigation::RegisterNavDevice(reinterpret_cast<MdnNavDeviceCallback>(0x1234), "G", "G"),
            nullptr, nullptr);
    }
    if (!(options & 4))
        navigation::AddGpsInfoUser();

    navigation::GpsInfoPass();
    navigation::GpsInfoPass();

    const MdnGpsInfo& info = *navigation::GpsInfoRecord();
    Check(info.waypoint_count <= MDN_GPS_WAYPOINTS);
    Check(info.waypoint_count <= entries);
    Check(info.active_ident[5] == '\0');
    for (uint32_t i = 0; i < info.waypoint_count; ++i) {
        Check(info.waypoints[i].number == i + 1);
        Check(info.waypoints[i].ident[5] == '\0');
        Check((info.waypoints[i].flags & ~(MDN_WAYPOINT_ACTIVE | MDN_WAYPOINT_LAST)) == 0);
    }

    ImportTable[0].table = nullptr;
    host::OnUnload();
    return 0;
}
