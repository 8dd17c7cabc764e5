// The thread objects of the module's three background loops; each loop's class is declared
// by its subsystem.
#pragma once
#include "airdata/airdata.h"
#include "navigation/navigation.h"
#include "runtime/thread_wrapper.h"

namespace host {

// The thread objects exist from load to unload (host::OnLoad, host::OnUnload).
Thread::TThread<MDNADC>& AirDataThread();
Thread::TThread<MDNFSApMgr>& AutopilotSourceThread();
Thread::TThread<MDNFSGpsInfoMgr>& GpsInfoThread();

void CreateThreadObjects();
void DestroyThreadObjects();

}  // namespace host
