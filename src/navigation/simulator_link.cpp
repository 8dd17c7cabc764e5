// The link to the simulator's panels and global records, made by the link timer: the panels
// hook, the simulator global record and the two aircraft information words read from the
// panel system's code. Also the module-lifetime set-up of every navigation registry and record.
#include <cstring>

#include "navigation/autopilot_source.h"
#include "navigation/gps_info.h"
#include "navigation/nav_registry.h"
#include "navigation/panels_hook.h"
#include "navigation/navigation.h"
#include "platform/kernel.h"
#include "runtime/import_table.h"

namespace navigation {
namespace {

uintptr_t global_record = 0;
uint32_t aircraft_words[2] = {0, 0};

}  // namespace

void Load() {
    LoadNavRegistry();
    LoadPanelsHook();
    LoadGpsInfo();
    LoadAutopilotSource();
    global_record = 0;
    aircraft_words[0] = aircraft_words[1] = 0;
}

void Unload() {
    UnloadPanelsHook();
    UnloadNavRegistry();
}

void ClearSharedValues() {
    SetVorPassThrough(false);
    ResetAutopilotSource();
    global_record = 0;
}

bool LinkSimulator() {
    if (!LinkPanels())
        return false;
    if (global_record == 0) {
        HMODULE global = platform::GetModuleHandleA("GLOBAL.DLL");
        if (global == nullptr)
            return false;
        FARPROC linkage = platform::GetProcAddress(global, "Linkage");
        if (linkage == nullptr)
            return false;
        global_record = reinterpret_cast<uintptr_t>(linkage) + runtime::kGlobalRecordOffset;
    }
    ReadPanelsAddresses();
    return true;
}

uintptr_t SimulatorGlobalRecord() {
    return global_record;
}
void SetSimulatorGlobalRecord(uintptr_t address) {
    global_record = address;
}

void ReadPanelsAddresses() {
    aircraft_words[0] = aircraft_words[1] = 0;
    void* const* table = runtime::PanelsFunctionTable();
    if (table == nullptr)
        return;
    uint8_t code[runtime::kCodeProbeBytes];
    SIZE_T read = 0;
    if (!platform::ReadProcessMemory(platform::GetCurrentProcess(),
                                     table[runtime::kPanelsCodeProbe], code, sizeof code, &read) ||
        read != sizeof code) {
        return;
    }
    // Little-endian words inside the code; the first one is unaligned.
    std::memcpy(&aircraft_words[0], code + runtime::kCodeProbeFirstWord, sizeof(uint32_t));
    std::memcpy(&aircraft_words[1], code + runtime::kCodeProbeSecondWord, sizeof(uint32_t));
}

uint32_t AircraftInformationWord(int index) {
    return index == 0 || index == 1 ? aircraft_words[index] : 0;
}

}  // namespace navigation
