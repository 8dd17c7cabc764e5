// The call lines of the operation table's wrapper.
#include "service/call_trace.h"

#include <algorithm>
#include <cstdarg>

namespace service {

void CallLine::Printf(const char* format, ...) {
    if (length_ + 1 >= sizeof text_)
        return;
    va_list arguments;
    va_start(arguments, format);
    const int n = std::vsnprintf(text_ + length_, sizeof text_ - length_, format, arguments);
    va_end(arguments);
    if (n > 0)
        length_ = std::min(length_ + static_cast<size_t>(n), sizeof text_ - 1);
}

void WriteCall(const char* name, const CallLine& rest) {
    runtime::WriteLogLine("call %s(%s", name, rest.c_str());
}

}  // namespace service
