// Navigation devices: the device registry, the panels hook and its state block, the
// autopilot-source and GPS information workers, and the link to the simulator's panels and
// global records. The numbered queries and controls are in queries/.
#pragma once
#include <cstddef>
#include <cstdint>

#include "mdnsrv.h"

namespace navigation {

// The device and range-handler registries exist from load to unload.
void Load();
void Unload();

// Service operations, slots 11 to 19.
uint32_t MDN_STDCALL RegisterNavDevice(MdnNavDeviceCallback callback, const char* long_name,
                                       const char* short_name);
uint32_t MDN_STDCALL UnregisterNavDevice(uint32_t device);
uint32_t MDN_STDCALL FindNavDevice(const char* long_name, const char* short_name);
uint32_t MDN_STDCALL SelectNavDevice(uint32_t device, const char* long_name,
                                     const char* short_name);
uint32_t MDN_STDCALL GetNavDeviceCount();
uint32_t MDN_STDCALL GetNavDeviceInfo(uint32_t index, char* long_name, char* short_name);
uint32_t MDN_STDCALL IsNavDeviceActive(uint32_t device);
uint32_t MDN_STDCALL CycleNavDevice();
uint32_t MDN_STDCALL GetActiveNavDevice(char* long_name, char* short_name);

// The "Navigation Device" menu lists the devices by position. Building it marks each device
// with its place; a command chooses the device marked with that place, so a device that
// registered after the menu was built cannot be chosen by an old item. The count.
uint32_t MarkNavMenuPlaces();
// Copies at most size - 1 bytes of the long name into text (when given).
bool GetNavMenuItem(uint32_t position, char* text, size_t size, bool* active);
// False when no device has that place, or it is active already.
bool SelectNavDeviceByMenuPlace(uint32_t position);

// The panels hook, slots 20 to 22.
MdnPanelsHookState* MDN_STDCALL GetPanelsHookState();
uint32_t MDN_STDCALL RegisterRangeHandler(MdnRangeHandler handler, uint32_t first_token,
                                          uint32_t last_token);
uint32_t MDN_STDCALL UnregisterRangeHandler(uint32_t handler);
// All 216 bytes zero, the two text fields at the five-blank text.
void ResetPanelsHookState();
// The link timer's work: installs the panels hook, finds the simulator global record and reads
// the two aircraft information words; true once all is done (the workers may start then).
bool LinkSimulator();
// Installs the hook into the panels module; true once installed.
bool LinkPanels();
// Reads the two aircraft information words from the panel system's code.
void ReadPanelsAddresses();
// Restores the panels module's lookup entry when it is still writable.
void UnhookPanels();

// Values shared with the module host.
bool VorPassThrough();
void SetVorPassThrough(bool on);
// Start-up and shut-down: VOR pass-through off, no autopilot feed, no flight-model object,
// no simulator global record.
void ClearSharedValues();
// The simulator GPS device's activation callback: the autopilot feed stops.
void ClearAutopilotFeed();
// The address 620 bytes past GLOBAL.DLL's Linkage, once found; 0 until then.
uintptr_t SimulatorGlobalRecord();
void SetSimulatorGlobalRecord(uintptr_t address);

// Values the queries and controls read or drive.
// The GPS information record, at a fixed address for the module's lifetime.
MdnGpsInfo* GpsInfoRecord();
// GPS information users (controls 65636 and 65637); never below 0.
int32_t GpsInfoUserCount();
void AddGpsInfoUser();
void RemoveGpsInfoUser();
// Control 65566: the value and the time it was posted (timeGetTime).
void PostAutopilotData(double value);
// The two aircraft information words read from the panel system's code (0 until linked).
uint32_t AircraftInformationWord(int index);

}  // namespace navigation

// The navigation subsystem's two background loops (runtime/thread_wrapper.h runs them). The
// classes hold no data: their one instance each is the receiver of the work function.
class MDNFSApMgr {
  public:
    static constexpr uint32_t kPeriodMs = 125;
    void Pass();  // one pass of the autopilot source
};

class MDNFSGpsInfoMgr {
  public:
    static constexpr uint32_t kPeriodMs = 1000;
    void Pass();  // one pass of the GPS information
};
