// WINMM's millisecond clock.
#pragma once
#include "platform/win_types.h"

namespace platform {

DWORD timeGetTime();

}  // namespace platform
