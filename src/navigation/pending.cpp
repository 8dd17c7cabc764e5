// Navigation operations not yet built: each gives its failure result.
#include "host/workers.h"
#include "navigation/navigation.h"
#include "platform/kernel.h"

namespace navigation {
namespace {
MdnPanelsHookState state_block;
MdnGpsInfo gps_info;
uintptr_t global_record = 0;
bool vor_pass_through = false;
}  // namespace

void Load() {}
void Unload() {}
uint32_t MDN_STDCALL RegisterNavDevice(MdnNavDeviceCallback, const char*, const char*) {
    return 0;
}
uint32_t MDN_STDCALL UnregisterNavDevice(uint32_t) { return 0; }
uint32_t MDN_STDCALL FindNavDevice(const char*, const char*) { return 0; }
uint32_t MDN_STDCALL SelectNavDevice(uint32_t, const char*, const char*) { return 0; }
uint32_t MDN_STDCALL GetNavDeviceCount() { return 0; }
uint32_t MDN_STDCALL GetNavDeviceInfo(uint32_t, char* long_name, char* short_name) {
    if (long_name) *long_name = '\0';
    if (short_name) *short_name = '\0';
    return 0;
}
uint32_t MDN_STDCALL IsNavDeviceActive(uint32_t) { return 0; }
uint32_t MDN_STDCALL CycleNavDevice() { return 0; }
uint32_t MDN_STDCALL GetActiveNavDevice(char* long_name, char* short_name) {
    if (long_name) *long_name = '\0';
    if (short_name) *short_name = '\0';
    return 0;
}
uint32_t AssignNavMenuIds() { return 0; }
bool GetNavMenuItem(uint32_t, char*, size_t, uint32_t*, uint32_t*) { return false; }
bool SelectNavDeviceByMenuId(uint32_t) { return false; }
MdnPanelsHookState* MDN_STDCALL GetPanelsHookState() { return &state_block; }
uint32_t MDN_STDCALL RegisterRangeHandler(MdnRangeHandler, uint32_t, uint32_t) { return 0; }
uint32_t MDN_STDCALL UnregisterRangeHandler(uint32_t) { return 0; }
void ResetPanelsHookState() { state_block = MdnPanelsHookState{}; }
bool LinkPanels() { return true; }
void ReadPanelsAddresses() {}
void UnhookPanels() {}
bool VorPassThrough() { return vor_pass_through; }
void SetVorPassThrough(bool on) { vor_pass_through = on; }
void ClearSharedValues() {
    vor_pass_through = false;
    global_record = 0;
}
void ClearAutopilotFeed() {}
uintptr_t SimulatorGlobalRecord() { return global_record; }
void SetSimulatorGlobalRecord(uintptr_t address) { global_record = address; }
MdnGpsInfo* GpsInfoRecord() { return &gps_info; }
int32_t GpsInfoUserCount() { return 0; }
void AddGpsInfoUser() {}
void RemoveGpsInfoUser() {}
void PostAutopilotData(double) {}
uint32_t AircraftInformationWord(int) { return 0; }

}  // namespace navigation

void MDNFSApMgr::Run() {
    for (;;) platform::Sleep(125);
}
void MDNFSGpsInfoMgr::Run() {
    for (;;) platform::Sleep(1000);
}
