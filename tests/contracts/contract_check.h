// The checks a contract test uses, the same on both ports: GoogleTest's own on the host, and on
// the win32 port (where no GoogleTest is built for mingw) a small stand-in with the same names
// that prints each failed check with the value it got and counts it.
//
// The subset: TEST, EXPECT_/ASSERT_ TRUE, FALSE, EQ, NE, GE, LE, LT, STREQ, each taking a
// message with <<, and SKIP_ON_PORT(port) << why, which ends the test on that port only.
#pragma once
#include "contract_setup.h"

#ifndef MDN_CONTRACT_STANDALONE
#include <gtest/gtest.h>

#define SKIP_ON_PORT(port)           \
    if (::contract::kPort != (port)) \
        ;                            \
    else                             \
        GTEST_SKIP()
#else
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

namespace contract {

using TestFunction = void (*)();
// Adds a test to the program's list; run in the order registered.
bool Register(const char* suite, const char* name, TestFunction function);

template <class T>
std::string Show(const T& value) {
    std::ostringstream s;
    if constexpr (std::is_pointer_v<T> && !std::is_same_v<T, const char*> &&
                  !std::is_same_v<T, char*>) {
        s << "0x" << std::hex << reinterpret_cast<uintptr_t>(value);
    } else if constexpr (std::is_same_v<T, const char*> || std::is_same_v<T, char*>) {
        if (value == nullptr)
            return "(null)";
        s << '"' << value << '"';
    } else if constexpr (std::is_same_v<T, std::string>) {
        s << '"' << value << '"';
    } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
        s << static_cast<long long>(value);
    } else {
        s << value;
    }
    return s.str();
}

// A failed check: collects the message and prints it, with where and what, when it ends.
class Failure {
  public:
    Failure(const char* file, int line, std::string what);
    ~Failure();
    Failure(const Failure&) = delete;
    Failure& operator=(const Failure&) = delete;
    template <class T>
    Failure& operator<<(const T& part) {
        message_ << part;
        return *this;
    }

  private:
    const char* file_;
    int line_;
    std::string what_;
    std::ostringstream message_;
};
// Ends a test after a fatal failure: `return Fatal() = Failure(...) << ...;`.
struct Fatal {
    void operator=(const Failure&) const {}
};
// Ends the test as skipped on this port, printing why.
class Skip {
  public:
    Skip(const char* file, int line) : file_(file), line_(line) {}
    ~Skip();
    template <class T>
    Skip& operator<<(const T& part) {
        message_ << part;
        return *this;
    }

  private:
    const char* file_;
    int line_;
    std::ostringstream message_;
};
struct SkipEnd {
    void operator=(const Skip&) const {}
};

template <class A, class B, class Compare>
std::string Compared(const char* op, const char* a_text, const char* b_text, const A& a, const B& b,
                     Compare compare) {
    if (compare(a, b))
        return {};
    return std::string("expected ") + a_text + " " + op + " " + b_text + ", got " + Show(a) +
           " and " + Show(b);
}
inline std::string Truth(const char* text, bool value, bool wanted) {
    if (value == wanted)
        return {};
    return std::string("expected ") + text + " to be " + (wanted ? "true" : "false");
}
inline std::string SameText(const char* a_text, const char* b_text, const char* a, const char* b) {
    if ((a == nullptr && b == nullptr) || (a && b && std::strcmp(a, b) == 0))
        return {};
    return std::string("expected ") + a_text + " equal to " + b_text + ", got " + Show(a) +
           " and " + Show(b);
}

}  // namespace contract

#define CONTRACT_CHECK_(what, on_failure)                                  \
    if (const std::string contract_what_ = (what); contract_what_.empty()) \
        ;                                                                  \
    else                                                                   \
        on_failure ::contract::Failure(__FILE__, __LINE__, contract_what_)
#define CONTRACT_CMP_(op, a, b, on_failure)                                                    \
    CONTRACT_CHECK_(::contract::Compared(#op, #a, #b, (a), (b),                                \
                                         [](const auto& x, const auto& y) { return x op y; }), \
                    on_failure)
#define CONTRACT_FATAL_ return ::contract::Fatal() =

#define EXPECT_TRUE(c) CONTRACT_CHECK_(::contract::Truth(#c, static_cast<bool>(c), true), )
#define EXPECT_FALSE(c) CONTRACT_CHECK_(::contract::Truth(#c, static_cast<bool>(c), false), )
#define ASSERT_TRUE(c) \
    CONTRACT_CHECK_(::contract::Truth(#c, static_cast<bool>(c), true), CONTRACT_FATAL_)
#define ASSERT_FALSE(c) \
    CONTRACT_CHECK_(::contract::Truth(#c, static_cast<bool>(c), false), CONTRACT_FATAL_)
#define EXPECT_EQ(a, b) CONTRACT_CMP_(==, a, b, )
#define EXPECT_NE(a, b) CONTRACT_CMP_(!=, a, b, )
#define EXPECT_GE(a, b) CONTRACT_CMP_(>=, a, b, )
#define EXPECT_LE(a, b) CONTRACT_CMP_(<=, a, b, )
#define EXPECT_LT(a, b) CONTRACT_CMP_(<, a, b, )
#define ASSERT_EQ(a, b) CONTRACT_CMP_(==, a, b, CONTRACT_FATAL_)
#define ASSERT_NE(a, b) CONTRACT_CMP_(!=, a, b, CONTRACT_FATAL_)
#define EXPECT_STREQ(a, b) CONTRACT_CHECK_(::contract::SameText(#a, #b, (a), (b)), )

#define SKIP_ON_PORT(port)           \
    if (::contract::kPort != (port)) \
        ;                            \
    else                             \
        return ::contract::SkipEnd() = ::contract::Skip(__FILE__, __LINE__)

#define TEST(suite, name)                                            \
    static void suite##_##name();                                    \
    [[maybe_unused]] static const bool suite##_##name##_registered = \
        ::contract::Register(#suite, #name, suite##_##name);         \
    static void suite##_##name()
#endif
