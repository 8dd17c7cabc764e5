// Fake aligned blocks: real memory from posix_memalign, every call logged, a scripted failure.
#include <cstdlib>
#include <mutex>
#include <set>

#include "platform/crt.h"
#include "platform/fake.h"

namespace fake {
namespace {

struct State {
    bool fails = false;
};
std::mutex state_mutex;
State state;
// Live blocks survive Reset(): the module may still hold one, and it owns it.
std::set<void*> live_blocks;

ResetHook reset_aligned_alloc([] {
    std::lock_guard<std::mutex> lock(state_mutex);
    state = State{};
});

}  // namespace

void SetAlignedMallocFails(bool fails) {
    std::lock_guard<std::mutex> lock(state_mutex);
    state.fails = fails;
}

int LiveAlignedBlocks() {
    std::lock_guard<std::mutex> lock(state_mutex);
    return static_cast<int>(live_blocks.size());
}

}  // namespace fake

namespace platform {

void* _aligned_malloc(size_t size, size_t alignment) {
    fake::Log("_aligned_malloc", size, alignment);
    std::lock_guard<std::mutex> lock(fake::state_mutex);
    if (fake::state.fails)
        return nullptr;
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
