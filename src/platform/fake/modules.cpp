// Fake loaded modules, exports and version resources.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>

#include "area.h"
#include "platform/fake_kernel.h"
#include "platform/fake_version.h"
#include "text.h"
#include "platform/kernel.h"
#include "platform/version.h"

namespace fake {
namespace {

struct Module {
    std::string name;
    std::string file_path;
    std::map<std::string, const void*> exports;
};

constexpr uint32_t kProgramHandle = 0x00400000;  // GetModuleHandleA(null)

struct State {
    std::string program_path = "C:\\Program Files\\Test\\test.exe";
    uint32_t next_handle = 0x10000000;
    std::map<uint32_t, Module> modules;               // by handle value
    std::map<std::string, VersionResource> versions;  // by lower-case file name
} state;

ResetHook reset_modules([] { state = State{}; });

Module* FindByName(const std::string& name) {
    const std::string wanted = Lower(name);
    for (auto& [handle, m] : state.modules) {
        if (Lower(m.name) == wanted)
            return &m;
    }
    return nullptr;
}

uint32_t HandleOf(HMODULE module) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(module));
}

// The fake version block: what GetFileVersionInfoA writes and VerQueryValueA parses.
struct VersionBlock {
    char magic[8];
    uint32_t has_translation;
    uint32_t translation;
    uint32_t has_file_version;
    char query[64];
    char file_version[128];
};

}  // namespace

HMODULE AddModule(const std::string& name, const std::string& file_path) {
    if (Module* existing = FindByName(name)) {
        if (!file_path.empty())
            existing->file_path = file_path;
        for (auto& [handle, m] : state.modules) {
            if (&m == existing)
                return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(handle));
        }
    }
    const uint32_t handle = state.next_handle;
    state.next_handle += 0x10000;
    state.modules[handle] = Module{name, file_path.empty() ? name : file_path, {}};
    return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(handle));
}

void RemoveModule(const std::string& name) {
    const std::string wanted = Lower(name);
    for (auto it = state.modules.begin(); it != state.modules.end(); ++it) {
        if (Lower(it->second.name) == wanted) {
            state.modules.erase(it);
            return;
        }
    }
}

void AddExport(HMODULE module, const std::string& export_name, const void* address) {
    auto it = state.modules.find(HandleOf(module));
    if (it != state.modules.end())
        it->second.exports[export_name] = address;
}

void SetProgramPath(const std::string& windows_path) {
    state.program_path = windows_path;
}

void SetVersionResource(const std::string& file, const VersionResource& resource) {
    state.versions[Lower(file)] = resource;
}

}  // namespace fake

namespace platform {

HMODULE GetModuleHandleA(LPCSTR name) {
    fake::Log("GetModuleHandleA", name);
    if (name == nullptr)
        return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(fake::kProgramHandle));
    for (auto& [handle, m] : fake::state.modules) {
        if (fake::Lower(m.name) == fake::Lower(name)) {
            return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(handle));
        }
    }
    return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    fake::Log("GetProcAddress", module, name);
    auto it = fake::state.modules.find(fake::HandleOf(module));
    if (it == fake::state.modules.end() || name == nullptr)
        return nullptr;
    auto e = it->second.exports.find(name);
    if (e == it->second.exports.end())
        return nullptr;
    return reinterpret_cast<FARPROC>(const_cast<void*>(e->second));
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
    fake::Log("GetModuleFileNameA", module, size);
    // Null names the program's own file.
    const bool program = module == nullptr || fake::HandleOf(module) == fake::kProgramHandle;
    auto it = fake::state.modules.find(fake::HandleOf(module));
    if ((!program && it == fake::state.modules.end()) || size == 0)
        return 0;
    // Like Windows XP and later: truncates, and terminates within the buffer.
    const std::string& path = program ? fake::state.program_path : it->second.file_path;
    const DWORD n = std::min<DWORD>(static_cast<DWORD>(path.size()), size - 1);
    std::memcpy(buffer, path.data(), n);
    buffer[n] = '\0';
    return n;
}

BOOL DisableThreadLibraryCalls(HMODULE module) {
    fake::Log("DisableThreadLibraryCalls", module);
    return TRUE;
}

DWORD GetFileVersionInfoSizeA(LPCSTR file, DWORD* handle) {
    fake::Log("GetFileVersionInfoSizeA", file);
    if (handle)
        *handle = 0;
    if (file == nullptr)
        return 0;
    auto it = fake::state.versions.find(fake::Lower(file));
    if (it == fake::state.versions.end())
        return 0;
    return sizeof(fake::VersionBlock);
}

BOOL GetFileVersionInfoA(LPCSTR file, DWORD, DWORD size, LPVOID data) {
    fake::Log("GetFileVersionInfoA", file, size);
    if (file == nullptr || data == nullptr || size < sizeof(fake::VersionBlock))
        return FALSE;
    auto it = fake::state.versions.find(fake::Lower(file));
    if (it == fake::state.versions.end())
        return FALSE;
    const fake::VersionResource& r = it->second;
    fake::VersionBlock block{};
    std::memcpy(block.magic, "FAKEVER", 8);
    block.has_translation = r.has_translation;
    block.translation =
        static_cast<uint32_t>(r.language) | (static_cast<uint32_t>(r.code_page) << 16);
    block.has_file_version = r.file_version.has_value();
    std::snprintf(block.query, sizeof block.query, "\\StringFileInfo\\%04x%04x\\FileVersion",
                  r.language, r.code_page);
    if (r.file_version) {
        std::snprintf(block.file_version, sizeof block.file_version, "%s", r.file_version->c_str());
    }
    std::memcpy(data, &block, sizeof block);
    return TRUE;
}

BOOL VerQueryValueA(LPCVOID data, LPCSTR sub_block, LPVOID* buffer, UINT* size) {
    fake::Log("VerQueryValueA", sub_block);
    auto* block = static_cast<const fake::VersionBlock*>(data);
    if (block == nullptr || sub_block == nullptr || std::memcmp(block->magic, "FAKEVER", 8) != 0) {
        return FALSE;
    }
    if (std::strcmp(sub_block, "\\VarFileInfo\\Translation") == 0) {
        if (!block->has_translation)
            return FALSE;
        *buffer = const_cast<uint32_t*>(&block->translation);
        *size = 4;
        return TRUE;
    }
    if (block->has_file_version && strcasecmp(sub_block, block->query) == 0) {
        *buffer = const_cast<char*>(block->file_version);
        *size = static_cast<UINT>(std::strlen(block->file_version) + 1);
        return TRUE;
    }
    return FALSE;
}

}  // namespace platform
