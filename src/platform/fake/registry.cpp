// Fake registry: keys by path (compared without regard to case), values as raw bytes.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "area.h"
#include "platform/fake_registry.h"
#include "text.h"
#include "platform/registry.h"
#include "platform/win_errors.h"

namespace fake {
namespace {

struct Value {
    DWORD type = REG_SZ;
    std::string bytes;
};

struct State {
    std::map<std::string, std::map<std::string, Value>> keys;  // lower-case paths and names
    std::map<uint32_t, std::string> open;                      // handle -> path
    uint32_t next_handle = 0x00A00010;
} state;

Failable failable_registry({"RegOpenKeyExA", "RegCreateKeyExA"});
ResetHook reset_registry([] { state = State{}; });

HKEY OpenHandle(const std::string& path) {
    const uint32_t h = state.next_handle++;
    state.open[h] = path;
    return reinterpret_cast<HKEY>(static_cast<uintptr_t>(h));
}

const std::string* PathOf(HKEY key) {
    auto it = state.open.find(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(key)));
    return it == state.open.end() ? nullptr : &it->second;
}

}  // namespace

void SetRegistryValue(const std::string& key, const std::string& name, const std::string& bytes) {
    state.keys[Lower(key)][Lower(name)] = Value{REG_SZ, bytes};
}

std::optional<std::string> RegistryValue(const std::string& key, const std::string& name) {
    auto k = state.keys.find(Lower(key));
    if (k == state.keys.end())
        return std::nullopt;
    auto v = k->second.find(Lower(name));
    if (v == k->second.end())
        return std::nullopt;
    return v->second.bytes;
}

}  // namespace fake

namespace platform {

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR sub_key, DWORD options, REGSAM access, PHKEY result) {
    const std::string call = fake::Log("RegOpenKeyExA", key, sub_key, options, fake::Hex(access));
    if (result == nullptr)
        return ERROR_ACCESS_DENIED;
    *result = nullptr;
    if (fake::Failing(call))
        return ERROR_ACCESS_DENIED;
    const std::string path = fake::Lower(sub_key ? sub_key : "");
    if (key != HKEY_LOCAL_MACHINE || !fake::state.keys.count(path))
        return ERROR_FILE_NOT_FOUND;
    *result = fake::OpenHandle(path);
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR value_name, DWORD*, DWORD* type, BYTE* data,
                         DWORD* size) {
    fake::Log("RegQueryValueExA", key, value_name, size ? *size : 0);
    const std::string* path = fake::PathOf(key);
    if (path == nullptr)
        return ERROR_INVALID_HANDLE;
    auto& values = fake::state.keys[*path];
    auto v = values.find(fake::Lower(value_name ? value_name : ""));
    if (v == values.end())
        return ERROR_FILE_NOT_FOUND;
    if (type)
        *type = v->second.type;
    const std::string& bytes = v->second.bytes;
    const DWORD needed = static_cast<DWORD>(bytes.size());
    if (data != nullptr) {
        if (size == nullptr)
            return ERROR_ACCESS_DENIED;
        if (*size < needed) {
            // Like Windows: the buffer's content is not defined; fill it to show that.
            std::memset(data, 'X', *size);
            *size = needed;
            return ERROR_MORE_DATA;
        }
        std::memcpy(data, bytes.data(), needed);
    }
    if (size)
        *size = needed;
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExA(HKEY key, LPCSTR sub_key, DWORD, LPSTR, DWORD options, REGSAM access,
                        LPSECURITY_ATTRIBUTES, PHKEY result, DWORD* disposition) {
    const std::string call = fake::Log("RegCreateKeyExA", key, sub_key, options, fake::Hex(access));
    if (result == nullptr)
        return ERROR_ACCESS_DENIED;
    *result = nullptr;
    if (fake::Failing(call) || key != HKEY_LOCAL_MACHINE)
        return ERROR_ACCESS_DENIED;
    const std::string path = fake::Lower(sub_key ? sub_key : "");
    if (disposition)
        *disposition = fake::state.keys.count(path) ? 2 : 1;
    fake::state.keys[path];
    *result = fake::OpenHandle(path);
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR value_name, DWORD, DWORD type, const BYTE* data,
                       DWORD size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fake::Log("RegSetValueExA", key, value_name, type, bytes, size);
    const std::string* path = fake::PathOf(key);
    if (path == nullptr)
        return ERROR_INVALID_HANDLE;
    fake::state.keys[*path][fake::Lower(value_name ? value_name : "")] = fake::Value{type, bytes};
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
    fake::Log("RegCloseKey", key);
    return fake::state.open.erase(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(key)))
               ? ERROR_SUCCESS
               : ERROR_INVALID_HANDLE;
}

}  // namespace platform
