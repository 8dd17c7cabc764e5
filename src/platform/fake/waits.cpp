// Fake waits. The module waits only for threads it has just terminated, and a fake thread has
// ended by the time TerminateThread returns, so every wait is satisfied at once.
#include "area.h"
#include "platform/kernel.h"

namespace platform {

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    fake::Log("WaitForSingleObject", handle, milliseconds);
    return handle != nullptr ? WAIT_OBJECT_0 : WAIT_FAILED;
}

}  // namespace platform
