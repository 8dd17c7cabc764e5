// The operations gauges call, watched. The exported service object is pointed at a copy of
// the module's operation table whose entries call the module's own: each names its
// operation as the stand-in's current action for the time it runs (so a crash inside
// MdnSrv.dll says which operation it was in), and the registering operations keep a record
// of the key clients, navigation devices and range handlers registered, so that what a gauge
// leaves registered when it unloads can be listed. The module itself is not changed.
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <tuple>
#include <type_traits>

#include "fs9_log.h"
#include "fs9_world.h"
#include "mdnsrv.h"

namespace fs9 {
namespace {

constexpr const char* kSlotNames[MDN_SLOT_COUNT] = MDN_OPERATION_NAMES;

enum class Kind { KeyClient, NavDevice, RangeHandler };

struct Registration {
    Kind kind;
    uint32_t handle;
    uint32_t callback;
    std::string detail;  // the device's names, the handler's tokens
};

MdnServiceObject* service = nullptr;  // the module's export
const MdnOperationTable* module_table = nullptr;
MdnOperationTable watched{};
// Range handlers may be registered from any thread.
struct Lock {
    CRITICAL_SECTION section;
    Lock() { InitializeCriticalSection(&section); }
};
Lock registrations_lock;
struct Guard {
    Guard() { EnterCriticalSection(&registrations_lock.section); }
    ~Guard() { LeaveCriticalSection(&registrations_lock.section); }
};
std::vector<Registration> registrations;

void Add(Kind kind, uint32_t handle, uint32_t callback, const std::string& detail) {
    if (handle == 0)
        return;
    const Guard guard;
    for (const Registration& r : registrations) {
        if (r.kind == kind && r.handle == handle)
            return;  // the same callback again: the module gave the same handle
    }
    registrations.push_back(Registration{kind, handle, callback, detail});
}

void Remove(Kind kind, uint32_t handle) {
    const Guard guard;
    for (auto r = registrations.begin(); r != registrations.end(); ++r) {
        if (r->kind == kind && r->handle == handle) {
            registrations.erase(r);
            return;
        }
    }
}

std::string Text(const char* text) {
    return text ? std::string(text, strnlen(text, 64)) : std::string("(null)");
}

template <class T>
uint32_t Word(T* pointer) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

// What a registering operation adds to or removes from the record, once it has returned.
template <int Slot, class R, class... A>
void Record(R result, A... args) {
    const std::tuple<A...> arg(args...);
    if constexpr (Slot == MDN_SLOT_REGISTER_KEY_CLIENT) {
        Add(Kind::KeyClient, result, Word(std::get<0>(arg)), "");
    } else if constexpr (Slot == MDN_SLOT_UNREGISTER_KEY_CLIENT) {
        Remove(Kind::KeyClient, std::get<0>(arg));
    } else if constexpr (Slot == MDN_SLOT_REGISTER_NAV_DEVICE) {
        char names[160];
        std::snprintf(names, sizeof names, "\"%s\" / \"%s\"", Text(std::get<1>(arg)).c_str(),
                      Text(std::get<2>(arg)).c_str());
        Add(Kind::NavDevice, result, Word(std::get<0>(arg)), names);
    } else if constexpr (Slot == MDN_SLOT_UNREGISTER_NAV_DEVICE) {
        Remove(Kind::NavDevice, std::get<0>(arg));
    } else if constexpr (Slot == MDN_SLOT_REGISTER_RANGE_HANDLER) {
        char tokens[48];
        std::snprintf(tokens, sizeof tokens, "tokens %lu to %lu",
                      static_cast<unsigned long>(std::get<1>(arg)),
                      static_cast<unsigned long>(std::get<2>(arg)));
        Add(Kind::RangeHandler, result, Word(std::get<0>(arg)), tokens);
    } else if constexpr (Slot == MDN_SLOT_UNREGISTER_RANGE_HANDLER) {
        Remove(Kind::RangeHandler, std::get<0>(arg));
    } else {
        (void)result;
        (void)arg;
    }
}

template <int Slot, class R, class... A>
R MDN_STDCALL Watched(A... args) {
    using Fn = R(MDN_STDCALL*)(A...);
    const Fn real = reinterpret_cast<const Fn*>(module_table)[Slot];
    const ActionScope action("MdnSrv.dll operation %s (slot %d), called by gauge code",
                             kSlotNames[Slot], Slot);
    if constexpr (std::is_void_v<R>) {
        real(args...);
        PrintTrace();
    } else {
        const R result = real(args...);
        Record<Slot, R, A...>(result, args...);
        PrintTrace();
        return result;
    }
}

template <int Slot, class R, class... A>
void Fill(R(MDN_STDCALL*)(A...)) {
    using Fn = R(MDN_STDCALL*)(A...);
    reinterpret_cast<Fn*>(&watched)[Slot] = &Watched<Slot, R, A...>;
}

bool SetTable(const MdnOperationTable* table) {
    DWORD old = 0;
    if (!VirtualProtect(&service->table, sizeof service->table, PAGE_READWRITE, &old))
        return false;
    service->table = table;
    VirtualProtect(&service->table, sizeof service->table, old, &old);
    return true;
}

// True when the bytes before `after` are a call instruction (direct, or indirect through a
// register or memory operand), so `after` is a return address rather than any pointer.
bool FollowsCall(uintptr_t after) {
    const auto* code = reinterpret_cast<const uint8_t*>(after);
    if (code[-5] == 0xE8)
        return true;
    for (int length = 2; length <= 7; ++length) {
        const uint8_t* call = code - length;
        if (call[0] != 0xFF || ((call[1] >> 3) & 7) != 2)
            continue;
        const int mod = call[1] >> 6, rm = call[1] & 7;
        int expected = 2;
        if (mod != 3 && rm == 4) {
            ++expected;  // SIB byte
            if (mod == 0 && (call[2] & 7) == 5)
                expected += 4;
        }
        if (mod == 1)
            expected += 1;
        else if (mod == 2 || (mod == 0 && rm == 5))
            expected += 4;
        if (expected == length)
            return true;
    }
    return false;
}

// The devices the module holds, asked of its own table; the trace leaves these calls out,
// as the gauge did not make them.
std::vector<uint32_t> NavDevicesHeld() {
    std::vector<uint32_t> handles;
    if (module_table == nullptr || service == nullptr)
        return handles;
    PrintTrace();
    const uint32_t count = module_table->GetNavDeviceCount();
    for (uint32_t i = 0; i < count && i < 1024; ++i)
        handles.push_back(module_table->GetNavDeviceInfo(i, nullptr, nullptr));
    SkipTrace();
    return handles;
}

const char* KindName(Kind kind) {
    return kind == Kind::KeyClient   ? "key client"
           : kind == Kind::NavDevice ? "navigation device"
                                     : "range handler";
}

}  // namespace

void WatchOperations() {
    World& world = TheWorld();
    service =
        world.module
            ? reinterpret_cast<MdnServiceObject*>(GetProcAddress(world.module, MDN_SERVICE_SYMBOL))
            : nullptr;
    if (service == nullptr || service->table == nullptr)
        return;
    module_table = service->table;
    watched = *module_table;
#define MDN_WATCH(slot, member) Fill<slot>(watched.member)
    MDN_WATCH(0, ServiceQuery);
    MDN_WATCH(1, ServiceControl);
    MDN_WATCH(2, RegisterKeyClient);
    MDN_WATCH(3, UnregisterKeyClient);
    MDN_WATCH(4, EnableKeyClient);
    MDN_WATCH(5, DisableKeyClient);
    MDN_WATCH(6, AddKeyCommand);
    MDN_WATCH(7, BindKeyCommand);
    MDN_WATCH(8, NextKeyEvent);
    MDN_WATCH(9, FindKeyCommand);
    MDN_WATCH(10, FireKeyCommand);
    MDN_WATCH(11, RegisterNavDevice);
    MDN_WATCH(12, UnregisterNavDevice);
    MDN_WATCH(13, FindNavDevice);
    MDN_WATCH(14, SelectNavDevice);
    MDN_WATCH(15, GetNavDeviceCount);
    MDN_WATCH(16, GetNavDeviceInfo);
    MDN_WATCH(17, IsNavDeviceActive);
    MDN_WATCH(18, CycleNavDevice);
    MDN_WATCH(19, GetActiveNavDevice);
    MDN_WATCH(20, GetPanelsHookState);
    MDN_WATCH(21, RegisterRangeHandler);
    MDN_WATCH(22, UnregisterRangeHandler);
    MDN_WATCH(23, GetTrafficList);
    MDN_WATCH(24, AcquireWorkBuffer);
    MDN_WATCH(25, ReleaseWorkBuffer);
    MDN_WATCH(26, RotateBitmap);
    MDN_WATCH(27, CopyBitmap);
    MDN_WATCH(28, DrawTerrainMap);
    MDN_WATCH(29, StretchBitmap);
    MDN_WATCH(30, RotateBitmapMasked);
#undef MDN_WATCH
    if (SetTable(&watched)) {
        Log("gauges get the stand-in's watched copy of the operation table (--no-watch: the "
            "module's own)");
    } else {
        Log("the service object cannot be written: gauges get the module's own table");
        service = nullptr;
    }
}

void StopWatchingOperations() {
    if (service && module_table)
        SetTable(module_table);
    service = nullptr;
}

std::string CallbackNear(uintptr_t address, uintptr_t base, uintptr_t end) {
    // Called while a thread crashes, maybe inside a registering operation: never wait.
    if (!TryEnterCriticalSection(&registrations_lock.section))
        return "";
    const Registration* nearest = nullptr;
    for (const Registration& r : registrations) {
        if (r.callback >= base && r.callback < end && r.callback <= address &&
            (nearest == nullptr || r.callback > nearest->callback)) {
            nearest = &r;
        }
    }
    char text[96] = "";
    if (nearest != nullptr) {
        std::snprintf(text, sizeof text, "%s callback 0x%08lX (handle 0x%08lX)",
                      KindName(nearest->kind), static_cast<unsigned long>(nearest->callback),
                      static_cast<unsigned long>(nearest->handle));
    }
    LeaveCriticalSection(&registrations_lock.section);
    return text;
}

bool IsReturnInto(uintptr_t word, uintptr_t base, uintptr_t end) {
    return word >= base + 8 && word < end && FollowsCall(word);
}

bool ModuleCalledGauge(uintptr_t stack_pointer, uintptr_t stack_top) {
    const World& world = TheWorld();
    if (world.module_base == 0 || world.module_unloaded || stack_pointer >= stack_top)
        return false;
    const uintptr_t top = stack_top;
    uintptr_t at = stack_pointer & ~uintptr_t{3};
    // The frames between the fault and the module's call are the gauge's own: a few at most.
    const uintptr_t limit = top - at > 0x10000 ? at + 0x10000 : top;
    for (; at + 4 <= limit; at += 4) {
        if (IsReturnInto(*reinterpret_cast<const uintptr_t*>(at), world.module_base,
                         world.module_end)) {
            return true;
        }
    }
    return false;
}

unsigned ListLeftRegistered(uintptr_t base, uintptr_t end, const std::string& gauge) {
    std::vector<Registration> left;
    {
        const Guard guard;
        for (auto r = registrations.begin(); r != registrations.end();) {
            if (r->callback >= base && r->callback < end) {
                left.push_back(*r);
                r = registrations.erase(r);  // its callback is gone with the gauge
            } else {
                ++r;
            }
        }
    }
    // A device whose name was taken got a handle but is not the module's to call: only the
    // devices the module lists count.
    const std::vector<uint32_t> devices = NavDevicesHeld();
    for (auto r = left.begin(); r != left.end();) {
        const bool held = r->kind != Kind::NavDevice ||
                          std::find(devices.begin(), devices.end(), r->handle) != devices.end();
        r = held ? r + 1 : left.erase(r);
    }
    if (left.empty())
        return 0;
    Log("LEFT REGISTERED: %s unloads with %u registration(s) whose callbacks go with it:",
        gauge.c_str(), static_cast<unsigned>(left.size()));
    for (const Registration& r : left) {
        Log("  %s 0x%08lX (callback 0x%08lX)%s%s", KindName(r.kind),
            static_cast<unsigned long>(r.handle), static_cast<unsigned long>(r.callback),
            r.detail.empty() ? "" : ": ", r.detail.c_str());
    }
    return static_cast<unsigned>(left.size());
}

}  // namespace fs9
