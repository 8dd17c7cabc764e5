// Arbitrary settings-file contents: the bytes become MDNSERVICES.INI in the simulator folder,
// then the module attaches as the simulator loads it, reads the file and binds its own
// commands. Whatever the file holds, the module attaches without a message, binds each own
// command at most once, delivers every bound command and leaves nothing behind at detach.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "host/module_entry.h"
#include "host/module_state.h"
#include "host/settings_file.h"
#include "keyboard/keyboard.h"
#include "navigation/navigation.h"
#include "platform/fake.h"
#include "platform/win_kernel.h"
#include "service/exports.h"

namespace {

constexpr char kFolder[] = "C:\\FS9";
constexpr char kSettings[] = "C:\\FS9\\Meridane\\Common\\Settings\\MDNSERVICES.INI";
constexpr char kRegistryKey[] = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";
HINSTANCE const kInstance = reinterpret_cast<HINSTANCE>(0x6d000000);

// Every own command is fired but the air-data start, whose worker needs a linked simulator; it
// is looked up like the others.
bool Fired(const char* command) {
    return std::strcmp(command, host::kAirDataStart) != 0;
}

#define CHECK(ok) ((ok) ? (void)0 : Fail(__LINE__, #ok))
[[noreturn]] void Fail(int line, const char* what) {
    std::fprintf(stderr, "fuzz_settings.cpp:%d: %s\n", line, what);
    std::abort();
}

// The simulator installation the module looks for, with the settings file written last.
void InstallSimulator(const std::string& settings) {
    fake::WriteFile(std::string(kFolder) + "\\fs9.exe", "MZ");
    fake::SetRegistryValue(kRegistryKey, "EXE Path", std::string(kFolder) + '\0');
    fake::AddModule("fs9.exe", std::string(kFolder) + "\\fs9.exe");
    fake::AddModule("PANELS.DLL", std::string(kFolder) + "\\MODULES\\PANELS.DLL");
    fake::SetVersionResource(std::string(kFolder) + "\\MODULES\\PANELS.DLL", {"9.01.040901.01"});
    fake::SetVersionResource("MdnSrv.dll", {"5.3.0.1"});
    fake::AddWindow("FS98MAIN");
    fake::WriteFile(kSettings, settings);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fake::Reset();
    ImportTable[0].table = nullptr;
    host::OnLoad();
    InstallSimulator(std::string(reinterpret_cast<const char*>(data), size));

    host::ModuleEntry(kInstance, DLL_PROCESS_ATTACH);
    CHECK(host::Module().attached == 1);
    CHECK(fake::MessageBoxes().empty());  // a settings file never causes a message

    // Only the own commands' keys became hot keys, with the four modifier bits at most.
    CHECK(fake::RegisteredHotKeys().size() <= std::size(host::kOwnCommands));
    for (const fake::HotKey& key : fake::RegisteredHotKeys())
        CHECK(key.id >= 0xC000 && key.id <= 0xFFFF && key.modifiers <= 0xF &&
              key.virtual_key != 0 && key.virtual_key < 0x100);

    for (const char* command : host::kOwnCommands) {
        const uint32_t id = keyboard::FindKeyCommand(command);
        CHECK(id == 0 || (id >= 0xC000 && id <= 0xFFFF));
        if (id != 0 && Fired(command))
            CHECK(keyboard::FireKeyCommand(id) == 1);
    }
    CHECK(fake::MessageBoxes().size() <= 1);  // at most the traffic module's one notice
    CHECK(fake::RunningThreadCount() == 0);   // no own command here starts a worker

    host::ModuleEntry(kInstance, DLL_PROCESS_DETACH);
    CHECK(fake::InstalledHookCount() == 0);
    CHECK(fake::RegisteredHotKeys().empty());
    CHECK(fake::AtomCount() == 0);
    for (const char* command : host::kOwnCommands)
        CHECK(keyboard::FindKeyCommand(command) == 0);
    host::OnUnload();
    return 0;
}
