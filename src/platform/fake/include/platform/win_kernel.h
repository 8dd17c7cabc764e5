// KERNEL32's constants: DLL notifications, waits, threads, processor features.
// The fake's subset, with 32-bit Windows' values (see win_types.h).
#pragma once
#include "platform/win_types.h"

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3
#define STILL_ACTIVE 259
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
#define WAIT_IO_COMPLETION 0x000000C0u
#define INFINITE 0xFFFFFFFFu
#define THREAD_PRIORITY_NORMAL 0
#define PF_XMMI64_INSTRUCTIONS_AVAILABLE 10
