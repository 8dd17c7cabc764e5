// The call lines of the operation table's wrapper.
#include "service/call_trace.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "runtime/escape_text.h"

namespace service {

namespace {

constexpr char kCallFormat[] = "call %s(%s%s";
// The time stamp, the line end and the terminator that every log line spends.
constexpr size_t kLineSpent = 25 + 2 + 1;

}  // namespace

void CallLine::Printf(const char* format, ...) {
    if (full_)
        return;
    va_list arguments;
    va_start(arguments, format);
    const int n = std::vsnprintf(text_ + length_, sizeof text_ - length_, format, arguments);
    va_end(arguments);
    if (n < 0)
        return;
    if (length_ + static_cast<size_t>(n) >= sizeof text_) {
        length_ = runtime::CutEscaped(text_, length_ + static_cast<size_t>(n), sizeof text_);
        full_ = true;
    } else {
        length_ += static_cast<size_t>(n);
    }
}

void CallLine::Fit(size_t room) {
    if (length_ >= room) {
        length_ = runtime::CutEscaped(text_, length_, room);
        full_ = true;
    }
}

void WriteCall(const char* name, CallLine& arguments, const CallLine& outcome) {
    const size_t spent = kLineSpent + sizeof kCallFormat - 7 + std::strlen(name) + outcome.size();
    const size_t room = runtime::kLogLineSize > spent ? runtime::kLogLineSize - spent : 1;
    arguments.Fit(std::max(room, sizeof runtime::kCutMark));
    runtime::WriteLogLine(kCallFormat, name, arguments.c_str(), outcome.c_str());
}

}  // namespace service
