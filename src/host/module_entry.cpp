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
#include "runtime/diag_log.h"
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

void BindOwnCommands() {
    ReadSettings();
    keyboard::EnableKeyClient(state.own_key_client);
}

void StartUp() {
    state.simulator_gps_device =
        navigation::RegisterNavDevice(&SimulatorGpsActivated, "Flight Simulator GPS", "GPS");
    navigation::SelectNavDevice(state.simulator_gps_device, nullptr, nullptr);
    state.own_key_client = keyboard::RegisterKeyClient(&OwnCommandHandler);
    if (!state.folder_pending)
        BindOwnCommands();
    navigation::ResetPanelsHookState();
    navigation::ClearSharedValues();
    state.link_timer = platform::SetTimer(nullptr, 0, 2000, &LinkTimerProcedure);
    if (state.link_timer == 0) {
        MDN_LOG(
            "start-up: the link timer could not be armed (error %lu): the module will not "
            "link to the panels",
            static_cast<unsigned long>(platform::GetLastError()));
    } else {
        MDN_LOG("start-up done; link timer armed, every 2000 ms");
    }
}

void LogAttach(const char* version, const char* version_module) {
    MDN_LOG("attach: simulator folder %s, %s",
            runtime::LogText(SimulatorFolder(), runtime::kLogTextLimit).c_str(),
            SimulatorFolderFoundHow());
    MDN_LOG("attach: simulator version %s read from %s: %s", runtime::LogText(version).c_str(),
            version_module,
            state.version_accepted ? "accepted" : "refused: the module stays inactive");
    if (SimulatorWindow() == nullptr) {
        MDN_LOG("attach: no window of class %s: the module stays inactive", kSimulatorWindowClass);
    } else {
        MDN_LOG("attach: simulator window %s 0x%08X", kSimulatorWindowClass,
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(SimulatorWindow())));
    }
    MDN_LOG("attach: air-data block %s", airdata::BlockOriginText());
}

void LogHook(const char* name, const runtime::UniqueHook& hook) {
    if (hook) {
        MDN_LOG("attach: %s hook installed on thread %lu", name,
                static_cast<unsigned long>(platform::GetCurrentThreadId()));
    } else {
        MDN_LOG("attach: %s hook not installed (error %lu)", name,
                static_cast<unsigned long>(platform::GetLastError()));
    }
}

// The log says how a worker ended: it left its loop when asked, it was terminated because its
// pass did not come back in time, or it had ended before.
template <class T>
void StopWorker(Thread::TThread<T>& thread, const char* name) {
    DWORD code = 0;
    const bool logged = runtime::LogOn() && !thread.Stopped();
    const bool running =
        logged && platform::GetExitCodeThread(thread.Handle(), &code) && code == STILL_ACTIVE;
    const unsigned left_before = thread.LeftInTime();
    thread.Stop();
    if (logged) {
        MDN_LOG("worker %s stopped: %s", name,
                !running                             ? "it had ended already"
                : thread.LeftInTime() != left_before ? "it left its loop when asked"
                                                     : "terminated: its pass did not come back "
                                                       "within a second");
    }
}

void ShutDown() {
    StopWorker(GpsInfoThread(), "MDNFSGpsInfoMgr");
    StopWorker(AutopilotSourceThread(), "MDNFSApMgr");
    StopWorker(AirDataThread(), "MDNADC");
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
    // The prompt waits for the first link-timer tick: here the loader lock is held, and the
    // folder browser needs COM and may start threads that could not run until it is let go.
    const bool located = FindRegisteredSimulator();
    StartLogFromSettings();

    char version[kPathSize] = "";
    const char* version_module = "PANELS.DLL";
    HMODULE simulator = platform::GetModuleHandleA("PANELS.DLL");
    if (simulator == nullptr) {
        version_module = "fs9.exe";
        simulator = platform::GetModuleHandleA("fs9.exe");
    }
    if (simulator == nullptr)
        version_module = "no module (neither PANELS.DLL nor fs9.exe is loaded)";
    runtime::ReadVersionText(simulator, version);
    state.version_accepted = IsAcceptedVersion(version) ? 1 : 0;
    runtime::ReadVersionText(nullptr, nullptr);
    runtime::Values().simulator_window = FindSimulatorWindow();
    if (runtime::LogOn())
        LogAttach(version, version_module);

    if (state.version_accepted && SimulatorWindow() != nullptr) {
        state.attached = 1;
        state.folder_pending = !located;
        const DWORD thread = platform::GetCurrentThreadId();
        state.call_procedure_hook.reset(platform::SetWindowsHookExA(
            WH_CALLWNDPROC, &CallWindowProcedureHook, instance, thread));
        if (runtime::LogOn())
            LogHook("call-window-procedure", state.call_procedure_hook);
        if (!state.call_procedure_hook) {
            runtime::ShowErrorBox(MB_ICONERROR, kHookFailedCallProcedure);
        }
        state.get_message_hook.reset(
            platform::SetWindowsHookExA(WH_GETMESSAGE, &GetMessageHook, instance, thread));
        if (runtime::LogOn())
            LogHook("get-message", state.get_message_hook);
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
    MDN_LOG("detach: shutting down");
    ShutDown();
    state.get_message_hook.reset();
    state.call_procedure_hook.reset();
    state.attached = 0;
    MDN_LOG("detach: done; hooks removed");
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
    runtime::StopLog();
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
    if (state.folder_pending) {
        // The prompt's own message loop dispatches this timer again while it shows.
        if (state.asking_for_folder)
            return;
        state.asking_for_folder = true;
        const bool chosen = AskForSimulatorFolder();
        state.asking_for_folder = false;
        state.folder_pending = false;
        if (chosen && !runtime::LogOn())
            StartLogFromSettings();
        MDN_LOG("link: simulator folder %s", SimulatorFolderFoundHow());
        BindOwnCommands();
    }
    if (!navigation::LinkSimulator())
        return;  // the reason is in the log
    platform::KillTimer(nullptr, state.link_timer);
    state.link_timer = 0;
    MDN_LOG("link: panels hook installed and simulator global record found; timer stopped");
    StartWorker(AutopilotSourceThread(), "MDNFSApMgr");
    StartWorker(GpsInfoThread(), "MDNFSGpsInfoMgr");
}

}  // namespace host
