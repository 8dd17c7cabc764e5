#include "host/module_entry.h"

#include <cstdio>

#include "airdata/airdata.h"
#include "bitmap/bitmap.h"
#include "host/module_state.h"
#include "host/settings.h"
#include "host/sim_location.h"
#include "host/window_integration.h"
#include "host/workers.h"
#include "keyboard/keyboard.h"
#include "navigation/navigation.h"
#include "platform/kernel.h"
#include "platform/user.h"
#include "runtime/message_boxes.h"
#include "runtime/module_version.h"
#include "runtime/x87_guard.h"
#include "traffic/traffic.h"

namespace host {
namespace {

ModuleState state;

constexpr char kWrongVersion[] =
    "Meridane Service Module is running on the wrong Flight Simulator version (%s).\n\n"
    "This module requires: Flight Simulator 2004, a Century of Flight.\n";
constexpr char kHookFailedCallProcedure[] =
    "Meridane Service Module is not installed properly\n\nCode: 0001";
constexpr char kHookFailedGetMessage[] =
    "Meridane Service Module is not installed properly\n\nCode: 0002";

// The simulator GPS device's activation callback: the gauge's autopilot feed stops.
void MDN_STDCALL SimulatorGpsActivated() {
    navigation::ClearAutopilotFeed();
}

void StartUp() {
    state.simulator_gps_device =
        navigation::RegisterNavDevice(&SimulatorGpsActivated, "Flight Simulator GPS", "GPS");
    navigation::SelectNavDevice(state.simulator_gps_device, nullptr, nullptr);
    state.own_key_client = keyboard::RegisterKeyClient(&OwnCommandHandler);
    ReadSettings();
    keyboard::EnableKeyClient(state.own_key_client);
    navigation::ResetPanelsHookState();
    navigation::ClearSharedValues();
    state.link_timer = platform::SetTimer(nullptr, 0, 2000, &LinkTimerProcedure);
}

void ShutDown() {
    GpsInfoThread().Stop();
    AutopilotSourceThread().Stop();
    AirDataThread().Stop();
    // Zero once the timer stopped itself: the id may be another component's timer by now.
    if (state.link_timer != 0)
        platform::KillTimer(nullptr, state.link_timer);
    state.link_timer = 0;
    navigation::ResetPanelsHookState();
    navigation::SetVorPassThrough(false);
    navigation::ClearAutopilotFeed();
    navigation::UnhookPanels();
    keyboard::UnregisterKeyClient(state.own_key_client);
    navigation::UnregisterNavDevice(state.simulator_gps_device);
}

void Attach(HINSTANCE instance) {
    platform::DisableThreadLibraryCalls(instance);
    LocateSimulator();

    char version[kPathSize] = "";
    HMODULE simulator = platform::GetModuleHandleA("PANELS.DLL");
    if (simulator == nullptr)
        simulator = platform::GetModuleHandleA("fs9.exe");
    runtime::ReadVersionText(simulator, version);
    state.version_accepted = IsAcceptedVersion(version) ? 1 : 0;
    runtime::ReadVersionText(nullptr, nullptr);
    runtime::Values().simulator_window = FindSimulatorWindow();

    if (state.version_accepted && SimulatorWindow() != nullptr) {
        state.attached = 1;
        const DWORD thread = platform::GetCurrentThreadId();
        state.call_procedure_hook.reset(platform::SetWindowsHookExA(
            WH_CALLWNDPROC, &CallWindowProcedureHook, instance, thread));
        if (!state.call_procedure_hook) {
            runtime::ShowErrorBox(MB_ICONERROR, kHookFailedCallProcedure);
        }
        state.get_message_hook.reset(
            platform::SetWindowsHookExA(WH_GETMESSAGE, &GetMessageHook, instance, thread));
        if (!state.get_message_hook)
            runtime::ShowErrorBox(MB_ICONERROR, kHookFailedGetMessage);
        StartUp();
        return;
    }
    state.attached = 0;
    char message[kPathSize];
    std::snprintf(message, sizeof message, kWrongVersion, version);
    runtime::ShowErrorBox(MB_ICONERROR, message);
}

void Detach() {
    if (state.attached != 1)
        return;
    ShutDown();
    state.get_message_hook.reset();
    state.call_procedure_hook.reset();
    state.attached = 0;
}

}  // namespace

ModuleState& Module() {
    return state;
}

void OnLoad() {
    runtime::X87Guard x87;  // the loading thread's settings are the simulator's
    state = ModuleState{};
    runtime::Values() = runtime::ModuleValues{};
    runtime::ResetVersionDigits();
    airdata::CreateBlock();
    CreateThreadObjects();
    keyboard::Load();
    navigation::Load();
    traffic::Load();
    bitmap::Load();
}

void OnUnload() {
    runtime::X87Guard x87;
    traffic::Unload();
    navigation::Unload();
    keyboard::Unload();
    DestroyThreadObjects();
    runtime::Values().simulator_folder[0] = '\0';
    airdata::DestroyBlock();
}

BOOL ModuleEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    runtime::X87Guard x87;
    if (reason == DLL_PROCESS_ATTACH) {
        state.instance = instance;
        Attach(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // At the process's end its other threads are already gone, perhaps in the middle of a
        // heap or run-time call, holding its lock for good: freeing, stopping a thread,
        // unhooking or writing a file could wait for ever. The system takes everything back.
        if (reserved != nullptr)
            return TRUE;
        Detach();
    }
    return TRUE;
}

void CALLBACK LinkTimerProcedure(HWND, UINT, UINT_PTR, DWORD) {
    runtime::X87Guard x87;
    if (!navigation::LinkSimulator())
        return;
    platform::KillTimer(nullptr, state.link_timer);
    state.link_timer = 0;
    AutopilotSourceThread().Start();
    GpsInfoThread().Start();
}

}  // namespace host
