// WINMM port.
#include "platform/clock.h"

#include <mmsystem.h>

namespace platform {

DWORD timeGetTime() {
    return ::timeGetTime();
}

}  // namespace platform
