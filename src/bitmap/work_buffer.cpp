// The shared work buffer: one aligned block for all gauges, counted by its users.
#include <cstdint>

#include "bitmap/bitmap.h"
#include "platform/crt.h"
#include "runtime/diag_log.h"

namespace bitmap {
namespace {

void* buffer = nullptr;
uint32_t buffer_size = 0;
int32_t users = 0;

bool PowerOfTwoOrZero(uint32_t alignment) {
    return (alignment & (alignment - 1)) == 0;
}

}  // namespace

void* MDN_STDCALL AcquireWorkBuffer(uint32_t size, uint32_t alignment) {
    // The first caller's size and alignment decide; later callers share that block, as long
    // as it is large and aligned enough for them: a smaller block would be written past its end.
    if (buffer == nullptr) {
        buffer = platform::_aligned_malloc(size, alignment);
        if (buffer == nullptr) {
            MDN_WHY(
                "no block of %u bytes aligned to %u: out of memory, or the alignment is not "
                "a power of two",
                size, alignment);
            return nullptr;
        }
        buffer_size = size;
    } else if (!PowerOfTwoOrZero(alignment)) {
        return MDN_WHY("the alignment %u is not a power of two", alignment), nullptr;
    } else if (size > buffer_size) {
        return MDN_WHY("the shared buffer holds %u bytes, fewer than the %u asked for", buffer_size,
                       size),
               nullptr;
    } else if (alignment != 0 && reinterpret_cast<uintptr_t>(buffer) % alignment != 0) {
        return MDN_WHY("the shared buffer is aligned to less than the %u asked for", alignment),
               nullptr;
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
        buffer_size = 0;
        users = 0;
    }
}

int32_t WorkBufferUsers() {
    return users;
}

}  // namespace bitmap
