// What the module asks of an address a simulator module hands it before it calls or reads
// through it: a function the simulator offers must lie in code, a record it offers in
// readable memory. A wrong entry then makes the caller skip its work instead of taking the
// simulator down.
#pragma once
#include <cstddef>

namespace runtime {

// True when `address` lies in committed memory that may be executed.
bool IsCodeAddress(const void* address);
// True when all `size` bytes from `address` lie in committed, readable memory.
bool IsReadable(const void* address, size_t size);
// True when all `size` bytes from `address` lie in committed, writable memory.
bool IsWritable(const void* address, size_t size);

}  // namespace runtime
