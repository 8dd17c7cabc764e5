// Fake aligned blocks: real memory from posix_memalign, every call logged, a scripted failure.
#include <cstdlib>
#include <mutex>
#include <set>

#include "platform/crt.h"
#include "area.h"
#include "platform/fake_crt.h"

namespace fake {
namespace {

Failable failable_aligned_alloc({"_aligned_malloc"});
std::mutex state_mutex;
// Live blocks survive Reset(): the module may still hold one, and it owns it.
std::set<void*> live_blocks;

}  // namespace

int LiveAlignedBlocks() {
    std::lock_guard<std::mutex> lock(state_mutex);
    return static_cast<int>(live_blocks.size());
}

}  // namespace fake

namespace platform {

void* _aligned_malloc(size_t size, size_t alignment) {
    if (fake::Failing(fake::Log("_aligned_malloc", size, alignment)))
        return nullptr;
    std::lock_guard<std::mutex> lock(fake::state_mutex);
    // As the run-time does: an alignment with more than one bit set is refused; 0 passes its
    // power-of-two test, and it and the other small ones are rounded up to the size of a
    // pointer (which posix_memalign insists on too).
    if ((alignment & (alignment - 1)) != 0)
        return nullptr;
    if (alignment < sizeof(void*))
        alignment = sizeof(void*);
    void* block = nullptr;
    if (posix_memalign(&block, alignment, size == 0 ? 1 : size) != 0)
        return nullptr;
    fake::live_blocks.insert(block);
    return block;
}

void _aligned_free(void* block) {
    fake::Log("_aligned_free", block);
    if (block == nullptr)
        return;
    std::lock_guard<std::mutex> lock(fake::state_mutex);
    fake::live_blocks.erase(block);
    std::free(block);
}

}  // namespace platform
