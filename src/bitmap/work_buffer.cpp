// The shared work buffer: one aligned block for all gauges, counted by its users.
#include "bitmap/bitmap.h"
#include "platform/crt.h"
#include "runtime/diag_log.h"

namespace bitmap {
namespace {

void* buffer = nullptr;
int32_t users = 0;

}  // namespace

void* MDN_STDCALL AcquireWorkBuffer(uint32_t size, uint32_t alignment) {
    // The first caller's size and alignment decide; later callers share that block.
    if (buffer == nullptr) {
        buffer = platform::_aligned_malloc(size, alignment);
        if (buffer == nullptr) {
            MDN_WHY(
                "no block of %u bytes aligned to %u: out of memory, or the alignment is not "
                "a power of two",
                size, alignment);
            return nullptr;
        }
    }
    ++users;
    return buffer;
}

void MDN_STDCALL ReleaseWorkBuffer(void*) {
    if (buffer == nullptr)
        MDN_WHY("did nothing: no work buffer is held");
    if (buffer != nullptr)
        --users;
    if (users <= 0) {
        if (buffer != nullptr)
            platform::_aligned_free(buffer);
        buffer = nullptr;
        users = 0;
    }
}

int32_t WorkBufferUsers() {
    return users;
}

}  // namespace bitmap
