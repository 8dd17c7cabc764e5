// The shared work buffer: one aligned block for all gauges, counted by its users.
#include "bitmap/bitmap.h"
#include "platform/crt.h"

namespace bitmap {
namespace {

void* buffer = nullptr;
int32_t users = 0;

}  // namespace

void* MDN_STDCALL AcquireWorkBuffer(uint32_t size, uint32_t alignment) {
    // The first caller's size and alignment decide; later callers share that block.
    if (buffer == nullptr) {
        buffer = platform::_aligned_malloc(size, alignment);
        if (buffer == nullptr)
            return nullptr;
    }
    ++users;
    return buffer;
}

void MDN_STDCALL ReleaseWorkBuffer(void*) {
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
