// The module's three background loops. Each class holds no data: its one module-wide
// instance is the receiver of the work function, which lives with its subsystem.
#pragma once
#include "host/thread_wrapper.h"

class MDNADC {
  public:
    void Run();  // air data: compute, sleep 33 ms, for ever
};

class MDNFSApMgr {
  public:
    void Run();  // autopilot source: one pass, sleep 125 ms, for ever
};

class MDNFSGpsInfoMgr {
  public:
    void Run();  // GPS information: one pass, sleep 1000 ms, for ever
};

namespace host {

// The thread objects exist from load to unload (host::OnLoad, host::OnUnload).
Thread::TThread<MDNADC>& AirDataThread();
Thread::TThread<MDNFSApMgr>& AutopilotSourceThread();
Thread::TThread<MDNFSGpsInfoMgr>& GpsInfoThread();

void CreateThreadObjects();
void DestroyThreadObjects();

}  // namespace host
