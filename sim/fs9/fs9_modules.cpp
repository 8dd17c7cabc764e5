// Loading as the simulator does: the stand-in modules listed in fs9-modules.txt, then the
// service module on the window thread; after its attach, the panels function table goes into
// its ImportTable and its Linkage initialisation function is called.
#include <cstdio>
#include <cstring>
#include <fstream>

#include "fs9_log.h"
#include "fs9_world.h"
#include "mdnsrv.h"
#include "sim_coarse_timer.h"
#include "sim_panels.h"

namespace fs9 {
namespace {

constexpr char kRegistryKey[] = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";
constexpr char kRegistryValue[] = "EXE Path";

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string InFolder(const std::string& name) {
    if (name.size() > 1 && (name[1] == ':' || name[0] == '\\'))
        return name;
    return TheWorld().folder + "\\" + name;
}

void ImageRange(HMODULE module, uintptr_t* base, uintptr_t* end) {
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        reinterpret_cast<const uint8_t*>(module) + dos->e_lfanew);
    *base = reinterpret_cast<uintptr_t>(module);
    *end = *base + nt->OptionalHeader.SizeOfImage;
}

StandIn* Find(const std::string& name) {
    for (StandIn& stand_in : TheWorld().stand_ins) {
        if (Upper(stand_in.name) == Upper(name))
            return &stand_in;
    }
    return nullptr;
}

}  // namespace

void WriteExePath() {
    const Options& options = TheWorld().options;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRegistryKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        Log("registry: cannot open HKLM\\%s", kRegistryKey);
        return;
    }
    if (options.exe_path == Options::ExePath::None) {
        RegDeleteValueA(key, kRegistryValue);
        Log("registry: \"%s\" removed", kRegistryValue);
    } else {
        const std::string folder = options.exe_path == Options::ExePath::Given
                                       ? options.exe_path_value
                                       : TheWorld().folder;
        RegSetValueExA(key, kRegistryValue, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>(folder.size() + 1));
        Log("registry: \"%s\" = \"%s\"", kRegistryValue, folder.c_str());
    }
    RegCloseKey(key);
}

bool ReadModuleList(std::string* error) {
    const std::string list = TheWorld().folder + "\\fs9-modules.txt";
    std::ifstream in(list);
    if (!in) {
        *error = "the module list " + list + " is missing: build the win32 preset";
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (line.empty())
            continue;
        StandIn stand_in;
        stand_in.name = line;
        stand_in.path = InFolder(line);
        if (Upper(line) == "PANELS.DLL" && TheWorld().options.no_version) {
            stand_in.path = TheWorld().folder + "\\variants\\noversion\\PANELS.DLL";
        }
        TheWorld().stand_ins.push_back(stand_in);
    }
    return true;
}

bool LoadStandIn(const std::string& name) {
    StandIn* stand_in = Find(name);
    if (stand_in == nullptr) {
        Log("stand-in module %s is not in the module list", name.c_str());
        return false;
    }
    if (stand_in->handle)
        return true;
    if (!FileExists(stand_in->path)) {
        Log("stand-in module %s is missing: %s", name.c_str(), stand_in->path.c_str());
        return false;
    }
    SetLastAction("loading %s", stand_in->name.c_str());
    stand_in->handle = LoadLibraryA(stand_in->path.c_str());
    if (stand_in->handle == nullptr) {
        Log("stand-in module %s failed to load (error %lu)", name.c_str(), GetLastError());
        return false;
    }
    stand_in->loaded_at = Now();
    Log("loaded %s", stand_in->path.c_str());
    if (Upper(stand_in->name) == "PANELS.DLL") {
        TheWorld().panels_original_lookup =
            PanelsTable() ? reinterpret_cast<uintptr_t>(PanelsTable()[40]) : 0;
    }
    return true;
}

bool LoadStandIns(std::string* error) {
    for (StandIn& stand_in : TheWorld().stand_ins) {
        if (TheWorld().options.without.count(Upper(stand_in.name))) {
            Log("%s left out", stand_in.name.c_str());
            continue;
        }
        if (!LoadStandIn(stand_in.name)) {
            *error =
                "stand-in module " + stand_in.name + " could not be loaded from " + stand_in.path;
            return false;
        }
    }
    return true;
}

HMODULE StandInHandle(const std::string& name) {
    const StandIn* stand_in = Find(name);
    return stand_in ? stand_in->handle : GetModuleHandleA(name.c_str());
}

void* const* PanelsTable() {
    HMODULE panels = StandInHandle("PANELS.DLL");
    return panels ? reinterpret_cast<void* const*>(GetProcAddress(panels, "Linkage")) : nullptr;
}

bool LoadServiceModule(std::string* error) {
    World& world = TheWorld();
    const std::string path = InFolder(world.options.module);
    if (!FileExists(path)) {
        *error = "the service module is missing: " + path;
        return false;
    }
    SetLastAction("loading the service module %s (its attach runs now)", path.c_str());
    Log("loading %s", path.c_str());
    // A library's thread notifications run on every thread the process starts afterwards: the
    // module's must leave a new thread's x87 unit as the system set it.
    const uint16_t control_word_before = NewThreadControlWord();
    if (world.options.heartbeat)
        StartHeartbeat();
    const double start = NowMs();
    SetCallerFpu();
    world.module = LoadLibraryA(path.c_str());
    CheckCallerFpu("the module's attach");
    if (world.options.heartbeat)
        StopHeartbeat(NowMs() - start);
    if (world.module == nullptr) {
        *error = "the service module failed to load: " + path;
        return false;
    }
    if (world.options.coarse_timer) {
        Log("coarse timer: %d of the module's timing imports now end on 15.625 ms ticks",
            sim::CoarsenTimer(world.module));
    }
    char expected[16], got[16];
    std::snprintf(expected, sizeof expected, "0x%04X", control_word_before);
    std::snprintf(got, sizeof got, "0x%04X", NewThreadControlWord());
    Check(std::strcmp(expected, got) == 0, "x87 control word of a thread started after the load",
          expected, got);
    ImageRange(world.module, &world.module_base, &world.module_end);
    Log("service module attached at 0x%08lX", static_cast<unsigned long>(world.module_base));
    return true;
}

void HandOverPanelsTable() {
    World& world = TheWorld();
    if (world.module == nullptr)
        return;
    auto* imports = reinterpret_cast<MdnImportEntry*>(GetProcAddress(world.module, "ImportTable"));
    void* const* panels = PanelsTable();
    for (int i = 0; imports && i < 16 && imports[i].module_id != 0; ++i) {
        if (imports[i].module_id == 0x0F && panels) {
            imports[i].table = const_cast<void**>(panels);
            Log("ImportTable[%d] (module 0x0F) <- panels function table 0x%08lX", i,
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(panels)));
        }
    }
    auto* linkage = reinterpret_cast<MdnLinkage*>(GetProcAddress(world.module, "Linkage"));
    if (linkage && linkage->init) {
        SetLastAction("calling the module's Linkage initialisation function");
        linkage->init();
    }
}

bool UnloadServiceModule() {
    World& world = TheWorld();
    if (world.module == nullptr)
        return false;
    StopWatchingOperations();
    auto* linkage = reinterpret_cast<MdnLinkage*>(GetProcAddress(world.module, "Linkage"));
    if (linkage && linkage->deinit) {
        SetLastAction("calling the module's Linkage de-initialisation function");
        linkage->deinit();
    }
    const uint32_t before = ThreadCount();
    SetLastAction("unloading the service module (its detach runs now)");
    Log("unloading the service module");
    const double start = NowMs();
    FreeLibrary(world.module);
    const double unload_ms = NowMs() - start;
    world.module = nullptr;
    // FreeLibrary only drops the stand-in's reference: anyone else's keeps the module mapped.
    HMODULE still = nullptr;
    if (GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(world.module_base), &still) &&
        still != nullptr) {
        char got[160];
        std::snprintf(got, sizeof got,
                      "still loaded at 0x%08lX after %.1f ms: another reference holds it (a "
                      "gauge's LoadLibrary without FreeLibrary?)",
                      static_cast<unsigned long>(world.module_base), unload_ms);
        Check(false, "service module unloaded by FreeLibrary", "unloaded", got);
        return false;
    }
    world.module_unloaded = true;
    Log("service module unloaded in %.1f ms: threads %u -> %u", unload_ms,
        static_cast<unsigned>(before), static_cast<unsigned>(ThreadCount()));
    return true;
}

// Whatever the module left behind now points into freed memory: messages that its hooks
// would see must pass without a crash, its timer must not fire, the panels entry must lead
// to the panel system's own lookup again.
void AfterUnloadChecks() {
    World& world = TheWorld();
    SetLastAction("after unload: sending messages the module's hooks would see");
    if (world.window) {
        SendMessageA(world.window, WM_ACTIVATEAPP, FALSE, 0);
        SendMessageA(world.window, WM_ACTIVATEAPP, TRUE, 0);
        SendMessageA(world.window, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(world.window)), 0);
        PostMessageA(world.window, WM_COMMAND, 0, 0);
    }
    Pump(300);
    Check(true, "messages after unload", "", "delivered without a crash");
    void* const* panels = PanelsTable();
    if (panels && world.panels_original_lookup) {
        char expected[32], got[32];
        std::snprintf(expected, sizeof expected, "0x%08lX",
                      static_cast<unsigned long>(world.panels_original_lookup));
        std::snprintf(got, sizeof got, "0x%08lX",
                      static_cast<unsigned long>(reinterpret_cast<uintptr_t>(panels[40])));
        Check(reinterpret_cast<uintptr_t>(panels[40]) == world.panels_original_lookup,
              "panels lookup entry (word 40) after unload", expected, got);
    }
}

}  // namespace fs9
