// C run-time port: the statically linked mingw run-time.
#include "platform/crt.h"

#include <malloc.h>
#include <process.h>

namespace platform {

uintptr_t _beginthreadex(void* security, unsigned stack_size, ThreadStart start, void* argument,
                         unsigned flags, unsigned* thread_id) {
    return ::_beginthreadex(security, stack_size, start, argument, flags, thread_id);
}

void* _aligned_malloc(size_t size, size_t alignment) {
    return ::_aligned_malloc(size, alignment);
}
void _aligned_free(void* block) {
    ::_aligned_free(block);
}

}  // namespace platform
