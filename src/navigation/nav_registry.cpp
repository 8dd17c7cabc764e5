// The navigation device registry: the simulator's own GPS (always first) and the gauges that
// register beside it. Exactly one device is active; the workers and the panels hook read the
// first device's active flag from other threads without a lock.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>

#include "navigation/gps_info.h"
#include "navigation/nav_registry.h"
#include "navigation/navigation.h"
#include "runtime/callback_registry.h"
#include "runtime/diag_log.h"

namespace navigation {
namespace {

constexpr size_t kMaxNavDevices = 40;

struct NavDevice {
    uint32_t handle = 0;
    MdnNavDeviceCallback callback = nullptr;
    std::string long_name;
    std::string short_name;
    std::atomic<uint8_t> active{0};  // one byte, one store: readers on other threads see either
    uint32_t menu_place = 0;         // position + 1 when the menu was built; 0: not in it
};

// The workers and the panels hook read the first entry's active flag from other threads while
// gauges unregister devices here: a removed record and the arrays it was in stay until no
// reader holds them, and unload waits for the readers that are in.
runtime::CallbackRegistry<NavDevice, true> devices;

bool SameName(const std::string& stored, const char* given) {
    return given != nullptr && stored == given;
}

void CopyName(const std::string& name, char* buffer) {
    if (buffer)
        std::memcpy(buffer, name.c_str(), name.size() + 1);
}

void ClearName(char* buffer) {
    if (buffer)
        *buffer = '\0';
}

// The device's names into the caller's buffers and its handle; empty names and 0 for none.
uint32_t Describe(const NavDevice* device, char* long_name, char* short_name) {
    if (device == nullptr) {
        ClearName(long_name);
        ClearName(short_name);
        return 0;
    }
    CopyName(device->long_name, long_name);
    CopyName(device->short_name, short_name);
    return device->handle;
}

NavDevice* FirstActive(size_t* position = nullptr) {
    const auto all = devices.Read();
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i]->active.load(std::memory_order_relaxed)) {
            if (position)
                *position = i;
            return all[i];
        }
    }
    return nullptr;
}

// Whether the first device is the active one, kept beside the registry so that the hook and
// the workers read one flag instead of walking to a record that may be going away.
std::atomic<bool> simulator_gps_active{false};

void RefreshSimulatorGpsActive() {
    const NavDevice* first = devices.At(0);
    simulator_gps_active.store(first != nullptr && first->active.load(std::memory_order_relaxed),
                               std::memory_order_relaxed);
}

void SetActive(NavDevice* device, bool active) {
    device->active.store(active ? 1 : 0, std::memory_order_relaxed);
    RefreshSimulatorGpsActive();
}

}  // namespace

void LoadNavRegistry() {
    devices.Clear();
    devices.Reserve(kMaxNavDevices);
    RefreshSimulatorGpsActive();
}

void UnloadNavRegistry() {
    devices.Clear();
    RefreshSimulatorGpsActive();
}

bool SimulatorGpsActive() {
    return simulator_gps_active.load(std::memory_order_relaxed);
}

uint32_t MDN_STDCALL RegisterNavDevice(MdnNavDeviceCallback callback, const char* long_name,
                                       const char* short_name) {
    if (callback == nullptr || long_name == nullptr || short_name == nullptr)
        return MDN_WHY("no callback or no name"), 0;
    if (*long_name == '\0' || *short_name == '\0')
        return MDN_WHY("empty name"), 0;
    if (devices.Count() >= kMaxNavDevices)
        return MDN_WHY("%u devices registered already, the most there can be",
                       static_cast<unsigned>(kMaxNavDevices)),
               0;
    const uint32_t handle = devices.HandleOf(callback);
    for (const NavDevice* device : devices.Read()) {
        // A clash by callback or by either name adds nothing; the caller still gets the
        // handle of its own callback.
        if (device->handle == handle || device->long_name == long_name ||
            device->short_name == short_name) {
            MDN_WHY("did nothing: %s taken by device 0x%X %s",
                    device->handle == handle         ? "the callback is"
                    : device->long_name == long_name ? "the long name is"
                                                     : "the short name is",
                    device->handle, runtime::LogText(device->long_name.c_str()).c_str());
            return handle;
        }
    }
    return devices.Add(callback, [&](NavDevice& device) {
        device.callback = callback;
        device.long_name = long_name;
        device.short_name = short_name;
    });
}

uint32_t MDN_STDCALL UnregisterNavDevice(uint32_t handle) {
    NavDevice* device = devices.Find(handle);
    if (device == nullptr)
        return MDN_WHY("unknown device handle"), 0;
    if (device->active.load(std::memory_order_relaxed)) {
        ResetGpsRoute();
        // The first device exists: the registry holds at least this one.
        if (NavDevice* first = devices.At(0)) {
            SetActive(first, true);
            first->callback();
        }
    }
    // The callback may have changed the registry: Remove finds the record again.
    devices.Remove(device);
    RefreshSimulatorGpsActive();
    return 1;
}

uint32_t MDN_STDCALL FindNavDevice(const char* long_name, const char* short_name) {
    for (const NavDevice* device : devices.Read()) {
        if (SameName(device->long_name, long_name) || SameName(device->short_name, short_name)) {
            return device->handle;
        }
    }
    return MDN_WHY("no device of that name"), 0;
}

uint32_t MDN_STDCALL SelectNavDevice(uint32_t handle, const char* long_name,
                                     const char* short_name) {
    NavDevice* match = nullptr;
    for (NavDevice* device : devices.Read()) {
        if ((handle != 0 && device->handle == handle) || SameName(device->long_name, long_name) ||
            SameName(device->short_name, short_name)) {
            match = device;
            break;
        }
    }
    if (match == nullptr)
        return MDN_WHY("no device with that handle or name"), 0;
    if (NavDevice* previous = FirstActive())
        SetActive(previous, false);
    SetActive(match, true);
    // A caller that selects by handle knows about the change itself.
    if (handle == 0)
        match->callback();
    return 1;
}

uint32_t MDN_STDCALL GetNavDeviceCount() {
    return static_cast<uint32_t>(devices.Count());
}

uint32_t MDN_STDCALL GetNavDeviceInfo(uint32_t index, char* long_name, char* short_name) {
    const NavDevice* device = devices.At(index);
    if (device == nullptr) {
        MDN_WHY_CALLS("index past the end (%u devices)", static_cast<unsigned>(devices.Count()));
    }
    return Describe(device, long_name, short_name);
}

uint32_t MDN_STDCALL IsNavDeviceActive(uint32_t handle) {
    for (const NavDevice* device : devices.Read()) {
        if (device->handle == handle) {
            const uint32_t active = device->active.load(std::memory_order_relaxed);
            if (active == 0)
                MDN_WHY_CALLS("not the active device");
            return active;
        }
    }
    return MDN_WHY("unknown device handle"), 0;
}

uint32_t MDN_STDCALL CycleNavDevice() {
    size_t position = 0;
    NavDevice* current = FirstActive(&position);
    if (current == nullptr)
        return MDN_WHY("no device is active"), 0;
    SetActive(current, false);
    const size_t next = position + 1 == devices.Count() ? 0 : position + 1;
    NavDevice* device = devices.At(next);
    if (device == nullptr)
        return 0;  // not reached: the active device is registered
    SetActive(device, true);
    device->callback();
    return 1;
}

uint32_t MDN_STDCALL GetActiveNavDevice(char* long_name, char* short_name) {
    const NavDevice* device = FirstActive();
    if (device == nullptr)
        MDN_WHY("no device is active");
    return Describe(device, long_name, short_name);
}

uint32_t MarkNavMenuPlaces() {
    const auto all = devices.Read();
    for (size_t i = 0; i < all.size(); ++i)
        all[i]->menu_place = static_cast<uint32_t>(i) + 1;
    return static_cast<uint32_t>(all.size());
}

bool GetNavMenuItem(uint32_t position, char* text, size_t size, bool* active) {
    const NavDevice* device = devices.At(position);
    if (device == nullptr)
        return false;
    if (text != nullptr && size > 0) {
        const size_t n = std::min(device->long_name.size(), size - 1);
        std::memcpy(text, device->long_name.data(), n);
        text[n] = '\0';
    }
    if (active)
        *active = device->active.load(std::memory_order_relaxed) != 0;
    return true;
}

bool SelectNavDeviceByMenuPlace(uint32_t position) {
    for (NavDevice* device : devices.Read()) {
        if (device->menu_place == position + 1 && !device->active.load(std::memory_order_relaxed)) {
            // Selecting by handle notifies nobody, so the menu tells the device itself.
            SelectNavDevice(device->handle, nullptr, nullptr);
            device->callback();
            return true;
        }
    }
    return false;
}

}  // namespace navigation
