// The thread objects of the module's three background loops; each loop's class is declared
// by its subsystem.
#pragma once
#include "airdata/airdata.h"
#include "navigation/navigation.h"
#include "runtime/diag_log.h"
#include "runtime/thread_wrapper.h"

namespace host {

// The thread objects exist from load to unload (host::OnLoad, host::OnUnload).
Thread::TThread<MDNADC>& AirDataThread();
Thread::TThread<MDNFSApMgr>& AutopilotSourceThread();
Thread::TThread<MDNFSGpsInfoMgr>& GpsInfoThread();

void CreateThreadObjects();
// Starts a worker and says so in the log, with the system's error when it could not.
template <class T>
void StartWorker(Thread::TThread<T>& thread, const char* name) {
    const bool was_running = !thread.Stopped();
    if (!thread.Start()) {
        MDN_LOG("worker %s not started: the thread could not be created (error %lu)", name,
                static_cast<unsigned long>(platform::GetLastError()));
    } else if (!was_running) {
        MDN_LOG("worker %s started", name);
    }
}

void DestroyThreadObjects();

}  // namespace host
