// One snapshot of a block that its writer rewrites without a lock: read it until two successive
// reads agree. A writer that runs all the time still leaves gaps between its cycles, so a few
// tries find one; when none do, the caller skips this sample rather than publish a torn one.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace bridge {

constexpr int kConsistentReadTries = 4;

// `read(buffer)` copies the block into `buffer` (`size` bytes). On true `out` holds a copy that
// two successive reads agreed on; `scratch` is a second buffer of the same size.
template <typename Read>
bool ReadConsistent(Read&& read, uint8_t* out, uint8_t* scratch, size_t size,
                    int tries = kConsistentReadTries) {
    read(out);
    for (int i = 1; i < tries; ++i) {
        read(scratch);
        if (std::memcmp(out, scratch, size) == 0)
            return true;
        std::memcpy(out, scratch, size);
    }
    return false;
}

}  // namespace bridge
