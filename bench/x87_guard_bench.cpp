// The price of the x87 guard every entry holds: a small __stdcall operation called directly,
// and through its table entry with the caller at 0x027F (fast path: one fnstcw and a compare)
// and at 0x007F as Direct3D 9 leaves the simulator's thread (fnstenv, fnclex, fldcw, fldenv).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "runtime/x87_guard.h"
#include "service/operation_entry.h"

namespace {

double values[64];

// Stands for a small operation that computes: one multiplication and one store.
__attribute__((noinline)) uint32_t MDN_STDCALL Scale(uint32_t index) {
    values[index & 63] *= 1.0000001;
    return index;
}

using Entry = service::OperationEntry<0, &Scale>;

template <class F>
void Calls(benchmark::State& state, uint16_t caller_word, F call) {
    const uint16_t own_word = runtime::X87ControlWord();
    runtime::SetX87ControlWord(caller_word);
    uint32_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(call(i++));
    runtime::SetX87ControlWord(own_word);
}

void Direct(benchmark::State& state) {
    Calls(state, runtime::kModuleControlWord, &Scale);
}
void GuardedCallerAtModuleWord(benchmark::State& state) {
    Calls(state, runtime::kModuleControlWord, &Entry::Call);
}
void GuardedCallerAtSinglePrecision(benchmark::State& state) {
    Calls(state, 0x007F, &Entry::Call);
}

}  // namespace

BENCHMARK(Direct);
BENCHMARK(GuardedCallerAtModuleWord);
BENCHMARK(GuardedCallerAtSinglePrecision);
