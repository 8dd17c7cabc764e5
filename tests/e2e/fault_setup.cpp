// The fault gauge's own faults: files held open, the shared-memory name taken, the registry
// key closed, a broken traffic object. Each is undone at the end of the run (the registry
// right after the module has read it), so later tests find the prefix as before.
#include "fault_setup.h"

#include <windows.h>

#include <sddl.h>

#include <cstring>
#include <string>

#include "e2e_support.h"
#include "mdnsrv.h"
#include "sim_traffic.h"

namespace fault {
namespace {

constexpr char kRegistryKey[] = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";
constexpr char kTrafficDump[] = "C:\\dbgFsAiTfc.txt";

HANDLE settings_lock = INVALID_HANDLE_VALUE;
HANDLE traffic_dump_lock = INVALID_HANDLE_VALUE;
HANDLE region = nullptr;
const volatile uint8_t* region_view = nullptr;
DWORD region_size = 0;
PSECURITY_DESCRIPTOR saved_key_security = nullptr;

// Breakpoint bytes: a call into them fails at once.
unsigned char not_code[64];
uint32_t bad_table[17];
struct {
    const uint32_t* table;
} bad_object = {bad_table};
struct {
    const uint32_t* table;
} bad_interface = {bad_table};

// A registered object whose QueryInterface answers an interface whose functions are all data.
void* __attribute__((thiscall)) QueryInterface(void*, const char*) {
    return &bad_interface;
}
uint32_t query_table[17];
struct {
    const uint32_t* table;
} object_with_bad_interface = {query_table};

bool Is(const SimDriver* d, const char* key, const char* value) {
    const char* set = d->Setting(key);
    return set && std::strcmp(set, value) == 0;
}

HANDLE HoldExclusively(const std::string& path, DWORD disposition) {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Everybody may read and write the key but not open it for deletion, which the all-access
// open asks for: what a user without administrator rights meets.
void CloseRegistryKey(const SimDriver* d) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRegistryKey, 0, READ_CONTROL | WRITE_DAC, &key) !=
        ERROR_SUCCESS) {
        d->Check(0, "registry key opened to change its access", "opened", "refused");
        return;
    }
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
    saved_key_security = LocalAlloc(LPTR, size);
    if (RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, saved_key_security, &size) !=
        ERROR_SUCCESS) {
        LocalFree(saved_key_security);
        saved_key_security = nullptr;
    }
    PSECURITY_DESCRIPTOR closed = nullptr;
    if (saved_key_security && ConvertStringSecurityDescriptorToSecurityDescriptorA(
                                  "D:(D;;SD;;;WD)(A;;KA;;;WD)", 1, &closed, nullptr)) {
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, closed);
        LocalFree(closed);
    }
    RegCloseKey(key);
    HKEY probe = nullptr;
    const LONG refused = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRegistryKey, 0, KEY_ALL_ACCESS, &probe);
    if (refused == ERROR_SUCCESS)
        RegCloseKey(probe);
    SimCheckU32(d, "registry key refuses the all-access open", 1, refused != ERROR_SUCCESS);
}

void OpenRegistryKey() {
    if (saved_key_security == nullptr)
        return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRegistryKey, 0, READ_CONTROL | WRITE_DAC, &key) ==
        ERROR_SUCCESS) {
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, saved_key_security);
        RegCloseKey(key);
    }
    LocalFree(saved_key_security);
    saved_key_security = nullptr;
}

void TakeRegionName(const SimDriver* d) {
    if (Is(d, "region", "mutex")) {
        region = CreateMutexA(nullptr, FALSE, MDN_AIRDATA_NAME);
        return;
    }
    region_size = Is(d, "region", "small") ? 64 : 8192;
    region = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, region_size,
                                MDN_AIRDATA_NAME);
    if (region)
        region_view = static_cast<const volatile uint8_t*>(
            MapViewOfFile(region, FILE_MAP_READ, 0, 0, region_size));
    SimCheckU32(d, "the name taken by a region of another size first", 1, region_view != nullptr);
}

void RegisterBrokenTrafficObject(const SimDriver* d) {
    std::memset(not_code, 0xCC, sizeof not_code);
    for (uint32_t& entry : bad_table)
        entry = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(not_code));
    query_table[2] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&QueryInterface));
    const auto add = reinterpret_cast<SimPanelsRegisterObjectFn>(
        d->StandInExport("PANELS.DLL", "SimPanelsRegisterObject"));
    void* object = Is(d, "traffic_object", "none") ? nullptr
                   : Is(d, "traffic_object", "no_query")
                       ? static_cast<void*>(&bad_object)
                       : static_cast<void*>(&object_with_bad_interface);
    SimCheckU32(d, "broken traffic object registered", 1, add ? add("ITrafficInfo", object) : 0);
}

}  // namespace

void BeforeModule(const SimDriver* d) {
    if (Is(d, "lock_settings", "1")) {
        const std::string path = std::string(e2e::SettingOr(d, "folder", "")) +
                                 "\\Meridane\\Common\\Settings\\MDNSERVICES.INI";
        settings_lock = HoldExclusively(path, OPEN_EXISTING);
        SimCheckU32(d, "settings file held open exclusively", 1,
                    settings_lock != INVALID_HANDLE_VALUE);
    }
    if (Is(d, "lock_traffic_dump", "1")) {
        traffic_dump_lock = HoldExclusively(kTrafficDump, OPEN_ALWAYS);
        SimCheckU32(d, "traffic dump file held open exclusively", 1,
                    traffic_dump_lock != INVALID_HANDLE_VALUE);
    }
    if (d->Setting("region"))
        TakeRegionName(d);
    if (Is(d, "registry", "closed"))
        CloseRegistryKey(d);
    if (d->Setting("traffic_object"))
        RegisterBrokenTrafficObject(d);
}

void AfterModuleLoaded(const SimDriver*) {
    OpenRegistryKey();
}

void AfterTest(const SimDriver*) {
    OpenRegistryKey();
    if (settings_lock != INVALID_HANDLE_VALUE)
        CloseHandle(settings_lock);
    if (traffic_dump_lock != INVALID_HANDLE_VALUE)
        CloseHandle(traffic_dump_lock);
    settings_lock = traffic_dump_lock = INVALID_HANDLE_VALUE;
}

uint64_t TrafficDumpSize() {
    LARGE_INTEGER size{};
    if (traffic_dump_lock != INVALID_HANDLE_VALUE) {
        GetFileSizeEx(traffic_dump_lock, &size);
        return static_cast<uint64_t>(size.QuadPart);
    }
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(kTrafficDump, GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool AirDataPublished() {
    const volatile uint8_t* view = region_view;
    HANDLE opened = nullptr;
    if (view == nullptr) {
        opened = OpenFileMappingA(FILE_MAP_READ, FALSE, MDN_AIRDATA_NAME);
        view = opened ? static_cast<const volatile uint8_t*>(
                            MapViewOfFile(opened, FILE_MAP_READ, 0, 0, MDN_AIRDATA_SIZE))
                      : nullptr;
    }
    bool moved = false;
    for (int i = 8; view && i < 16; ++i)
        moved = moved || view[i] != 0;
    if (opened) {
        if (view)
            UnmapViewOfFile(const_cast<uint8_t*>(view));
        CloseHandle(opened);
    }
    return moved;
}

}  // namespace fault
