// The navigation device registry: the simulator's own GPS (always first) and the gauges that
// register beside it. Exactly one device is active; the workers and the panels hook read the
// first device's active flag from other threads without a lock.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "navigation/internal.h"
#include "navigation/navigation.h"

namespace navigation {
namespace {

constexpr size_t kMaxNavDevices = 40;
constexpr uint32_t kFirstMenuId = 0x9800;
constexpr uint32_t kTickedMenuItem = 8;  // the platform's MF_CHECKED

struct NavDevice {
    uint32_t handle;
    MdnNavDeviceCallback callback;
    std::string long_name;
    std::string short_name;
    std::atomic<uint8_t> active{0};  // one byte, one store: readers on other threads see either
    uint32_t menu_id = 0;            // 0 matches no menu command until ids are assigned
};

// Capacity for every device is reserved at load, so the array never moves while another
// thread reads its first entry.
std::vector<NavDevice*> devices;

uint32_t HandleOf(MdnNavDeviceCallback callback) {
    return ~static_cast<uint32_t>(reinterpret_cast<uintptr_t>(callback));
}

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

NavDevice* FirstActive(size_t* position = nullptr) {
    for (size_t i = 0; i < devices.size(); ++i) {
        if (devices[i]->active.load(std::memory_order_relaxed)) {
            if (position)
                *position = i;
            return devices[i];
        }
    }
    return nullptr;
}

void SetActive(NavDevice* device, bool active) {
    device->active.store(active ? 1 : 0, std::memory_order_relaxed);
}

void DestroyAll() {
    for (NavDevice* device : devices)
        delete device;
    devices.clear();
}

}  // namespace

void LoadNavRegistry() {
    DestroyAll();
    devices.reserve(kMaxNavDevices);
}

void UnloadNavRegistry() {
    // Nothing can reach a record once the module is unloaded; release them with the array.
    DestroyAll();
    std::vector<NavDevice*>().swap(devices);
}

bool SimulatorGpsActive() {
    return !devices.empty() && devices.front()->active.load(std::memory_order_relaxed) != 0;
}

uint32_t MDN_STDCALL RegisterNavDevice(MdnNavDeviceCallback callback, const char* long_name,
                                       const char* short_name) {
    if (callback == nullptr || long_name == nullptr || short_name == nullptr)
        return 0;
    if (*long_name == '\0' || *short_name == '\0')
        return 0;
    if (devices.size() >= kMaxNavDevices)
        return 0;
    const uint32_t handle = HandleOf(callback);
    for (const NavDevice* device : devices) {
        // A clash by callback or by either name adds nothing; the caller still gets the
        // handle of its own callback.
        if (device->handle == handle || device->long_name == long_name ||
            device->short_name == short_name) {
            return handle;
        }
    }
    devices.push_back(new NavDevice{handle, callback, long_name, short_name});
    return handle;
}

uint32_t MDN_STDCALL UnregisterNavDevice(uint32_t handle) {
    NavDevice* device = nullptr;
    for (NavDevice* candidate : devices) {
        if (candidate->handle == handle) {
            device = candidate;
            break;
        }
    }
    if (device == nullptr)
        return 0;
    if (device->active.load(std::memory_order_relaxed)) {
        ResetGpsRoute();
        NavDevice* first = devices.front();
        SetActive(first, true);
        first->callback();
    }
    // The callback may have changed the registry: find the record again before removing it.
    for (auto it = devices.begin(); it != devices.end(); ++it) {
        if (*it == device) {
            devices.erase(it);
            delete device;
            break;
        }
    }
    return 1;
}

uint32_t MDN_STDCALL FindNavDevice(const char* long_name, const char* short_name) {
    for (const NavDevice* device : devices) {
        if (SameName(device->long_name, long_name) || SameName(device->short_name, short_name)) {
            return device->handle;
        }
    }
    return 0;
}

uint32_t MDN_STDCALL SelectNavDevice(uint32_t handle, const char* long_name,
                                     const char* short_name) {
    NavDevice* match = nullptr;
    for (NavDevice* device : devices) {
        if ((handle != 0 && device->handle == handle) || SameName(device->long_name, long_name) ||
            SameName(device->short_name, short_name)) {
            match = device;
            break;
        }
    }
    if (match == nullptr)
        return 0;
    if (NavDevice* previous = FirstActive())
        SetActive(previous, false);
    SetActive(match, true);
    // A caller that selects by handle knows about the change itself.
    if (handle == 0)
        match->callback();
    return 1;
}

uint32_t MDN_STDCALL GetNavDeviceCount() {
    return static_cast<uint32_t>(devices.size());
}

uint32_t MDN_STDCALL GetNavDeviceInfo(uint32_t index, char* long_name, char* short_name) {
    if (index >= devices.size()) {
        ClearName(long_name);
        ClearName(short_name);
        return 0;
    }
    const NavDevice* device = devices[index];
    CopyName(device->long_name, long_name);
    CopyName(device->short_name, short_name);
    return device->handle;
}

uint32_t MDN_STDCALL IsNavDeviceActive(uint32_t handle) {
    for (const NavDevice* device : devices) {
        if (device->handle == handle)
            return device->active.load(std::memory_order_relaxed);
    }
    return 0;
}

uint32_t MDN_STDCALL CycleNavDevice() {
    size_t position = 0;
    NavDevice* current = FirstActive(&position);
    if (current == nullptr)
        return 0;
    SetActive(current, false);
    const size_t next = position + 1 == devices.size() ? 0 : position + 1;
    NavDevice* device = devices[next];
    SetActive(device, true);
    device->callback();
    return 1;
}

uint32_t MDN_STDCALL GetActiveNavDevice(char* long_name, char* short_name) {
    const NavDevice* device = FirstActive();
    if (device == nullptr) {
        ClearName(long_name);
        ClearName(short_name);
        return 0;
    }
    CopyName(device->long_name, long_name);
    CopyName(device->short_name, short_name);
    return device->handle;
}

uint32_t AssignNavMenuIds() {
    for (size_t i = 0; i < devices.size(); ++i) {
        devices[i]->menu_id = kFirstMenuId + static_cast<uint32_t>(i);
    }
    return static_cast<uint32_t>(devices.size());
}

bool GetNavMenuItem(uint32_t position, char* text, size_t size, uint32_t* id, uint32_t* flags) {
    if (position >= devices.size())
        return false;
    const NavDevice* device = devices[position];
    if (text != nullptr && size > 0) {
        const size_t n = std::min(device->long_name.size(), size - 1);
        std::memcpy(text, device->long_name.data(), n);
        text[n] = '\0';
    }
    if (id)
        *id = device->menu_id;
    if (flags)
        *flags = device->active.load(std::memory_order_relaxed) ? kTickedMenuItem : 0;
    return true;
}

bool SelectNavDeviceByMenuId(uint32_t id) {
    if (id == 0)
        return false;  // the id of a record whose menu id was never assigned
    for (NavDevice* device : devices) {
        if (device->menu_id == id && !device->active.load(std::memory_order_relaxed)) {
            // Selecting by handle notifies nobody, so the menu tells the device itself.
            SelectNavDevice(device->handle, nullptr, nullptr);
            device->callback();
            return true;
        }
    }
    return false;
}

}  // namespace navigation
