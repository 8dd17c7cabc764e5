// The DLL's entry point. The C run-time constructs static objects before the attach
// notification and destroys them after the detach notification, which is exactly when the
// module's load-time objects must exist.
#include "host/module_entry.h"

// The C++ run-time linked into the DLL reserves its emergency exception memory when the DLL
// is loaded and keeps it for good; this gives it back.
namespace __gnu_cxx {
void __freeres() noexcept;
}

namespace {

struct LoadTimeObjects {
    LoadTimeObjects() { host::OnLoad(); }
    ~LoadTimeObjects() {
        host::OnUnload();
        // Otherwise every load and unload of the module in one process leaves it behind.
        __gnu_cxx::__freeres();
    }
    LoadTimeObjects(const LoadTimeObjects&) = delete;
    LoadTimeObjects& operator=(const LoadTimeObjects&) = delete;
};
LoadTimeObjects objects;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    return host::ModuleEntry(instance, reason);
}
