// C run-time services the module needs beyond the standard library.
#pragma once
#include "platform/win_types.h"

namespace platform {

typedef unsigned(WINAPI* ThreadStart)(void* argument);

// Creates a thread; the handle, or 0 on failure (the C run-time's _beginthreadex).
uintptr_t _beginthreadex(void* security, unsigned stack_size, ThreadStart start, void* argument,
                         unsigned flags, unsigned* thread_id);

// Aligned blocks; the alignment must be a power of two.
void* _aligned_malloc(size_t size, size_t alignment);
void _aligned_free(void* block);

}  // namespace platform
