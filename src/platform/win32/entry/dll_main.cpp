// The DLL's entry point. The C run-time constructs static objects before the attach
// notification and destroys them after the detach notification, which is exactly when the
// module's load-time objects must exist.
#include "host/module_entry.h"

namespace {

struct LoadTimeObjects {
    LoadTimeObjects() { host::OnLoad(); }
    ~LoadTimeObjects() { host::OnUnload(); }
    LoadTimeObjects(const LoadTimeObjects&) = delete;
    LoadTimeObjects& operator=(const LoadTimeObjects&) = delete;
};
LoadTimeObjects objects;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    return host::ModuleEntry(instance, reason);
}
