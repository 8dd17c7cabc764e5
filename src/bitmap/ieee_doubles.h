// Double arithmetic on the x87 unit, rounded exactly as IEEE doubles (and SSE2) round it.
//
// Without SSE2 the compiler computes doubles on the x87 unit, at whatever precision the
// calling thread set (a Direct3D thread runs at 24 bits) and in registers wider than a double.
// Inside an IeeeDoubles scope every operation rounds to 53 bits, to nearest, with exceptions
// masked; RoundToDouble drops the extra bits of a library result such as cos. The caller's
// whole x87 environment, its flags included, is back when the scope ends.
//
// The scope's asm statements order only memory, so the arithmetic they guard goes in a
// function that is not inlined and hands its results back through memory.
#pragma once
#include <cstdint>

namespace bitmap {

class IeeeDoubles {
  public:
    IeeeDoubles() {
        static constexpr uint16_t kDoubleNearestMasked = 0x027F;
        __asm__ volatile("fnstenv %0" : "=m"(saved_) : : "memory");
        __asm__ volatile("fldcw %0" : : "m"(kDoubleNearestMasked) : "memory");
    }
    ~IeeeDoubles() { __asm__ volatile("fldenv %0" : : "m"(saved_) : "memory"); }
    IeeeDoubles(const IeeeDoubles&) = delete;
    IeeeDoubles& operator=(const IeeeDoubles&) = delete;

  private:
    struct Environment {
        uint8_t bytes[28];  // the 32-bit protected-mode layout
    } saved_;
};

inline double RoundToDouble(double v) {
    volatile double stored = v;
    return stored;
}

}  // namespace bitmap
