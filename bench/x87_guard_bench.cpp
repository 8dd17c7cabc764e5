// The price of the x87 guard an operation entry holds, against the same operation called
// directly. The work raises the inexact flag, as real arithmetic does, and each case sets the
// caller's control word and sticky flags itself rather than inherit what the harness left:
// - at 0x027F (a thread Windows started) and at 0x007F (Direct3D 9's single precision);
// - with the inexact flag already raised by the caller (a thread that computes: the work adds
//   no flag, no environment is restored) and with clean flags (every call's work raises one
//   the caller lacked, and the guard gives back the exact status word);
// - with an unmasked exception pending, which forces the whole environment to be saved.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "runtime/x87_guard.h"
#include "service/operation_entry.h"

namespace {

double values[64];

// Stands for a small operation that computes: one division, inexact, and one store.
__attribute__((noinline)) uint32_t MDN_STDCALL Scale(uint32_t index) {
    values[index & 63] = 1.0 / (values[index & 63] + 3.0);
    return index;
}

// MDN_SLOT_SERVICE_QUERY holds the guard; MDN_SLOT_GET_NAV_DEVICE_COUNT does not.
using Guarded = service::OperationEntry<MDN_SLOT_SERVICE_QUERY, &Scale>;
using Unguarded = service::OperationEntry<MDN_SLOT_GET_NAV_DEVICE_COUNT, &Scale>;

enum class Flags { kInexactSet, kClean, kUnmaskedPending };

void SetFlags(Flags flags) {
    asm volatile("fnclex" : : : "memory");
    if (flags == Flags::kInexactSet) {
        volatile double third = 1.0;
        third = third / 3.0;
        benchmark::DoNotOptimize(third);
    }
}

template <class F>
void Calls(benchmark::State& state, uint16_t caller_word, Flags flags, F call) {
    for (double& v : values)
        v = 1.0;
    const uint16_t own_word = runtime::X87ControlWord();
    uint16_t word = caller_word;
    if (flags == Flags::kUnmaskedPending) {
        // Invalid operation raised while masked, then unmasked: pending, not yet delivered.
        runtime::SetX87ControlWord(caller_word);
        volatile double zero = 0.0;
        benchmark::DoNotOptimize(zero / zero);
        word = caller_word & ~0x0001;
    } else {
        SetFlags(flags);
    }
    runtime::SetX87ControlWord(word);
    uint32_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(call(i++));
    asm volatile("fnclex" : : : "memory");
    runtime::SetX87ControlWord(own_word);
}

void Direct(benchmark::State& state) {
    Calls(state, runtime::kModuleControlWord, Flags::kInexactSet, &Scale);
}
void Entry(benchmark::State& state, uint16_t word, Flags flags) {
    Calls(state, word, flags, &Guarded::Call);
}
void EntryWithoutGuard(benchmark::State& state, uint16_t word) {
    Calls(state, word, Flags::kInexactSet, &Unguarded::Call);
}

}  // namespace

BENCHMARK(Direct);
BENCHMARK_CAPTURE(Entry, at_027F_inexact_set, 0x027F, Flags::kInexactSet);
BENCHMARK_CAPTURE(Entry, at_027F_clean, 0x027F, Flags::kClean);
BENCHMARK_CAPTURE(Entry, at_007F_inexact_set, 0x007F, Flags::kInexactSet);
BENCHMARK_CAPTURE(Entry, at_007F_clean, 0x007F, Flags::kClean);
BENCHMARK_CAPTURE(Entry, at_007F_unmasked_pending, 0x007F, Flags::kUnmaskedPending);
BENCHMARK_CAPTURE(EntryWithoutGuard, at_007F, 0x007F);
