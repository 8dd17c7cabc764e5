// The x87 unit as the module computes with it, whatever the calling thread has set.
//
// Direct3D 9 leaves the simulator's main thread in single precision (control word 0x007F),
// and a host may unmask exceptions. Every entry on that thread whose work computes with the
// x87 (operations that compute, hooks, the link timer, the entry point) holds an X87Guard for
// its work: it computes with 53-bit significands, rounding to nearest and every exception
// masked (0x027F, what Windows gives a new thread), and gives the caller back its whole x87
// environment on the way out: its control word exactly, and its status word exactly, without
// any flag the module's work raised, so an exception the caller unmasked never fires for the
// module's arithmetic and a caller that tests its sticky flags sees only its own.
//
// Cost (bench/x87_guard_bench.cpp): the control and status words are read on entry and the
// status word again on exit; the control word is loaded twice when the caller's differs.
// Only two rarer cases save and restore the whole environment (fnstenv/fldenv, about 60 ns):
// a caller with an unmasked exception pending, for which loading any control word would
// raise it inside the module, and work that raised a flag the caller did not have, which
// only a whole environment can take back.
//
// The guarded work must not return a value on the x87 stack: restoring the caller's
// environment may empty it.
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

inline uint16_t X87StatusWord() {
    uint16_t word;
    asm volatile("fnstsw %0" : "=m"(word) : : "memory");
    return word;
}

// The six exception flags of the status word; the control word's masks sit at the same bits.
constexpr uint16_t kX87ExceptionFlags = 0x003F;

class X87Guard {
  public:
    X87Guard() {
        asm volatile("fnstcw %0\n\tfnstsw %1"
                     : "=m"(caller_word_), "=m"(caller_status_)
                     :
                     : "memory");
        if (CallerHasUnmaskedPending()) [[unlikely]] {
            SaveWholeEnvironment();
        } else if (caller_word_ != kModuleControlWord) {
            SetX87ControlWord(kModuleControlWord);
        }
    }
    ~X87Guard() {
        if (CallerHasUnmaskedPending()) [[unlikely]] {
            asm volatile("fldenv %0" : : "m"(caller_) : "memory");
            return;
        }
        if ((X87StatusWord() & ~caller_status_ & kX87ExceptionFlags) != 0) [[unlikely]] {
            GiveBackStatusWord();
        } else if (caller_word_ != kModuleControlWord) {
            SetX87ControlWord(caller_word_);
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
    static constexpr int kControl = 0;
    static constexpr int kStatus = 1;

    // A flag the caller's own control word leaves unmasked: loading any control word would
    // raise it, so its whole environment is saved and loaded instead.
    bool CallerHasUnmaskedPending() const {
        return (caller_status_ & ~caller_word_ & kX87ExceptionFlags) != 0;
    }

    // fnstenv keeps the caller's status flags, the pending one included; fnclex then gives
    // the module's work a clean status word.
    __attribute__((noinline)) void SaveWholeEnvironment() {
        const uint16_t module_word = kModuleControlWord;
        asm volatile("fnstenv %0\n\tfnclex\n\tfldcw %1"
                     : "=m"(caller_)
                     : "m"(module_word)
                     : "memory");
    }
    // The work raised a flag the caller did not have: only an environment load clears one
    // flag and keeps the others. The caller had no unmasked flag pending (else the whole
    // environment was saved), so loading its words raises nothing.
    __attribute__((noinline)) void GiveBackStatusWord() {
        Environment now;
        asm volatile("fnstenv %0" : "=m"(now) : : "memory");
        now.words[kControl] = (now.words[kControl] & 0xFFFF0000u) | caller_word_;
        now.words[kStatus] = (now.words[kStatus] & 0xFFFF0000u) | caller_status_;
        asm volatile("fldenv %0" : : "m"(now) : "memory");
    }

    uint16_t caller_word_;
    uint16_t caller_status_;
    Environment caller_;
};

}  // namespace runtime
