// Objects other simulator modules register by name (TrafficInfo.DLL's "ITrafficInfo"), found
// through table word 77.
#include <windows.h>

#include <cstring>

#include "panels_table.h"
#include "sim_traffic.h"

namespace panels {
namespace {

constexpr unsigned kRegisteredObjectWord = 77;
constexpr unsigned kCapacity = 8;

struct Entry {
    char name[64];
    void* object;
};
Entry entries[kCapacity];

Entry* Find(const char* name) {
    for (Entry& e : entries) {
        if (e.object != nullptr && std::strcmp(e.name, name) == 0)
            return &e;
    }
    return nullptr;
}

void* __stdcall FindRegisteredObject(const char* name) {
    if (name == nullptr)
        return nullptr;
    const Entry* e = Find(name);
    return e ? e->object : nullptr;
}

const EntryRegistration registered_object_entry(
    kRegisteredObjectWord, reinterpret_cast<const void*>(&FindRegisteredObject));

}  // namespace
}  // namespace panels

extern "C" __declspec(dllexport) uint32_t
    __stdcall SimPanelsRegisterObject(const char* name, void* object) {
    using panels::entries;
    if (name == nullptr || std::strlen(name) >= sizeof entries[0].name)
        return 0;
    panels::Entry* e = panels::Find(name);
    if (e == nullptr) {
        if (object == nullptr)
            return 1;
        for (panels::Entry& free : entries) {
            if (free.object == nullptr) {
                e = &free;
                break;
            }
        }
        if (e == nullptr)
            return 0;
        std::strcpy(e->name, name);
    }
    e->object = object;
    return 1;
}
