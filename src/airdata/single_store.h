// Stores into the shared block. Readers in other processes take no lock and may read at any
// moment, and the worker may be terminated at any point of a cycle, so each field is written
// with exactly one store of its final value: never a half-computed value, never two halves.
#pragma once
#include <cstdint>
#include <cstring>

namespace airdata {

// The view is page-aligned and every double of the block stands at a multiple of 8 (checked
// where the block is written), so the 8-byte store is naturally aligned and so indivisible.
// On i686 without SSE both compilers emit it as the x87 pair fildq/fistpq: one 8-byte store
// that copies the bit pattern exactly (an integer load fits the 64-bit mantissa).
typedef uint64_t AlignedWord64 __attribute__((aligned(8)));

inline void StoreField(volatile double* field, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    __atomic_store_n(reinterpret_cast<volatile AlignedWord64*>(field), bits, __ATOMIC_RELAXED);
}

inline void StoreField(volatile float* field, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    __atomic_store_n(reinterpret_cast<volatile uint32_t*>(field), bits, __ATOMIC_RELAXED);
}

inline void StoreField(volatile int32_t* field, int32_t value) {
    __atomic_store_n(field, value, __ATOMIC_RELAXED);
}

inline void StoreField(volatile uint32_t* field, uint32_t value) {
    __atomic_store_n(field, value, __ATOMIC_RELAXED);
}

}  // namespace airdata
