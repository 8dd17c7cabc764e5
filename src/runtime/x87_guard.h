// The x87 unit as the module computes with it, whatever the calling thread has set.
//
// Direct3D 9 leaves the simulator's main thread in single precision (control word 0x007F),
// and a host may unmask exceptions. Every entry on that thread (operations, hooks, the link
// timer, the entry point) holds an X87Guard for its work: it computes with 53-bit
// significands, rounding to nearest and every exception masked (0x027F, what Windows gives a
// new thread), and gives the caller back its whole x87 environment on the way out: its
// control word exactly, and its status flags without any the module's work raised, so an
// exception the caller unmasked never fires for the module's arithmetic.
//
// Cost: one fnstcw and a compare while the caller already runs at 0x027F; otherwise
// fnstenv, fnclex, fldcw on entry and fldenv on exit (bench/x87_guard_bench.cpp).
//
// The guarded work must not return a value on the x87 stack: restoring the caller's
// environment empties it.
#pragma once
#include <cstdint>

namespace runtime {

constexpr uint16_t kModuleControlWord = 0x027F;

inline uint16_t X87ControlWord() {
    uint16_t word;
    asm volatile("fnstcw %0" : "=m"(word));
    return word;
}

inline void SetX87ControlWord(uint16_t word) {
    asm volatile("fldcw %0" : : "m"(word) : "memory");
}

class X87Guard {
  public:
    X87Guard() {
        asm volatile("fnstcw %0" : "=m"(caller_word_) : : "memory");
        if (caller_word_ != kModuleControlWord) [[unlikely]] {
            // fnstenv keeps the caller's status flags, pending ones included; fnclex then
            // gives the module's work a clean status word.
            const uint16_t module_word = kModuleControlWord;
            asm volatile("fnstenv %0\n\tfnclex\n\tfldcw %1"
                         : "=m"(caller_)
                         : "m"(module_word)
                         : "memory");
        }
    }
    ~X87Guard() {
        if (caller_word_ != kModuleControlWord) [[unlikely]] {
            asm volatile("fldenv %0" : : "m"(caller_) : "memory");
        }
    }
    X87Guard(const X87Guard&) = delete;
    X87Guard& operator=(const X87Guard&) = delete;

  private:
    // The 28-byte protected-mode environment: control, status and tag words, last
    // instruction and operand.
    struct Environment {
        uint32_t words[7];
    };
    static_assert(sizeof(Environment) == 28);

    uint16_t caller_word_;
    Environment caller_;
};

}  // namespace runtime
