// Control of the fake C run-time services (platform/crt.h): threads (real POSIX threads, so a
// test sees real concurrency; their handles close through kernel's CloseHandle) and aligned
// blocks (real memory).
//
// Calls Fail() can fail:
//   _beginthreadex    0, no thread
//   _aligned_malloc   null, as when memory runs out
#pragma once
#include "platform/fake_calls.h"

namespace fake {

// Threads created and not yet closed with CloseHandle.
int OpenThreadCount();
// Threads whose start routine is still running.
int RunningThreadCount();

// Blocks handed out by _aligned_malloc and not yet given back with _aligned_free.
int LiveAlignedBlocks();

}  // namespace fake
