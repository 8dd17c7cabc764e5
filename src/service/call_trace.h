// The diagnostic log's part of each operation table entry (service/operation_entry.h), taken
// only while the log is on: a call gets one line with its arguments, result and the reason the
// operation noted for an answer of 0 or for doing nothing; at level 1 only the calls with a
// reason get one.
#pragma once
#include <cstdint>
#include <cstdio>
#include <type_traits>

#include "mdnsrv.h"
#include "runtime/diag_log.h"

namespace service {

inline constexpr const char* kOperationNames[MDN_SLOT_COUNT] = MDN_OPERATION_NAMES;

// One part of a line under construction: appends stop at the end of the buffer, and Fit cuts
// it, marked, to the room the line leaves it.
class CallLine {
  public:
    CallLine() { text_[0] = '\0'; }
    void Put(const char* text) { Printf("%s", text); }
    void Put(uint32_t v) { Printf("0x%X", static_cast<unsigned>(v)); }
    void Put(int32_t v) { Printf("%ld", static_cast<long>(v)); }
    void Put(float v) { Printf("%g", static_cast<double>(v)); }
    void Put(double v) { Printf("%g", v); }
    // A text the gauge hands in; other pointers (buffers, records, callbacks) by address.
    void PutText(const char* text) { Put(runtime::LogText(text).c_str()); }
    void PutAddress(const void* p) {
        Printf("0x%08X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(p)));
    }
    // A buffer the operation fills is shown filled once the call succeeded.
    template <class T>
    void PutArgument(T v, bool succeeded) {
        if constexpr (std::is_same_v<T, const char*>) {
            PutText(v);
        } else if constexpr (std::is_same_v<T, char*>) {
            if (succeeded && v != nullptr) {
                PutText(v);
            } else {
                PutAddress(v);
            }
        } else if constexpr (std::is_pointer_v<T>) {
            PutAddress(reinterpret_cast<const void*>(v));
        } else {
            Put(v);
        }
    }
    const char* c_str() const { return text_; }
    size_t size() const { return length_; }
    // At most `room` - 1 characters, the cut marked.
    void Fit(size_t room);

    __attribute__((format(printf, 2, 3))) void Printf(const char* format, ...);

  private:
    // Roomier than a line: the arguments are cut to what the result and the reason leave.
    char text_[4 * runtime::kLogLineSize];  // terminated by the constructor and each append
    size_t length_ = 0;
    bool full_ = false;
};

// "call Name(arguments) = result: reason": the line of one call. The arguments give way, so
// the result and the reason are always on it.
void WriteCall(const char* name, CallLine& arguments, const CallLine& outcome);

template <int Slot, auto F, class Fn = decltype(F)>
struct Traced;

template <int Slot, auto F, class R, class... A>
struct Traced<Slot, F, R(MDN_STDCALL*)(A...)> {
    static R Call(A... arguments) {
        runtime::BeginCall();
        if constexpr (std::is_void_v<R>) {
            F(arguments...);
            Finish(nullptr, arguments...);
        } else {
            const R result = F(arguments...);
            Finish(&result, arguments...);
            return result;
        }
    }

  private:
    using Result = std::conditional_t<std::is_void_v<R>, int, R>;

    // The line is made only when it is written: at level 1 a call without a reason costs
    // nothing more than taking the reason.
    static void Finish(const Result* result, A... arguments) {
        const char* why = runtime::TakeWhy();
        if (why == nullptr && !runtime::LogOn(runtime::kLogCalls))
            return;
        [[maybe_unused]] const bool succeeded = result == nullptr || *result != Result{};
        CallLine line;
        [[maybe_unused]] bool first = true;
        ((line.Put(first ? "" : ", "), line.PutArgument(arguments, succeeded), first = false), ...);
        CallLine outcome;
        if (result != nullptr) {
            outcome.Put(") = ");
            outcome.PutArgument(*result, true);
        } else {
            outcome.Put(")");
        }
        if (why != nullptr) {
            outcome.Put(": ");
            outcome.Put(why);
        }
        WriteCall(kOperationNames[Slot], line, outcome);
    }
};

}  // namespace service
