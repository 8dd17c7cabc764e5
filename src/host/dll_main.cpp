// The DLL's entry point. The C run-time constructs static objects before the attach
// notification and destroys them after the detach notification, which is exactly when the
// module's load-time objects must exist; at the process's end, though, neither the module nor
// the run-time may free anything (host::ModuleEntry says why), so the entry point the linker
// is given skips the run-time's clean-up then.
#include "host/module_entry.h"

// The C++ run-time linked into the DLL reserves its emergency exception memory when the DLL
// is loaded and keeps it for good; this gives it back.
namespace __gnu_cxx {
void __freeres() noexcept;
}

// The C run-time's own entry point: static construction and destruction around DllMain.
extern "C" BOOL WINAPI DllMainCRTStartup(HANDLE instance, DWORD reason, LPVOID reserved);

// The C run-time's thread-local-storage support comes into the DLL only through this pointer,
// which its entry calls when it is set. With that support the DLL carries a TLS directory: the
// loader then refuses DisableThreadLibraryCalls and runs the run-time's callbacks, under its
// lock, on every thread that starts or ends in the simulator, and the callback for a new
// thread resets that thread's x87 unit (fninit: 64-bit precision instead of the system's 53).
// The module keeps no thread-local data of its own (the C++ run-time's per-thread exception
// block uses TlsAlloc, not the TLS directory), so the pointer stays null and the support out.
extern "C" {
extern const PIMAGE_TLS_CALLBACK __dyn_tls_init_callback;
const PIMAGE_TLS_CALLBACK __dyn_tls_init_callback = nullptr;
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

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    return host::ModuleEntry(instance, reason, reserved);
}

// The linker's entry point (see src/CMakeLists.txt).
extern "C" BOOL WINAPI MdnDllEntry(HANDLE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved != nullptr)
        return DllMain(static_cast<HINSTANCE>(instance), reason, reserved);
    return DllMainCRTStartup(instance, reason, reserved);
}
