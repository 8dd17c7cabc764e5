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
#include "runtime/x87_guard.h"

namespace bitmap {

// The module's x87 guard: 53 bits, to nearest, exceptions masked, the caller's environment
// back at the end.
using IeeeDoubles = runtime::X87Guard;

inline double RoundToDouble(double v) {
    volatile double stored = v;
    return stored;
}

}  // namespace bitmap
