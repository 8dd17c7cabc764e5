// The fake platform's failure switch: keyed by the call as the log records it, so a test can
// fail one call, or one call with given first arguments, and nothing else.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/fake.h"
#include "platform/kernel.h"
#include "platform/user.h"

namespace {

LRESULT CALLBACK Procedure(int, WPARAM, LPARAM) {
    return 0;
}

HHOOK Hook(int type) {
    return platform::SetWindowsHookExA(type, Procedure, nullptr, 0);
}

TEST(FakeFailures, KeyedByTheLoggedCallUntilSwitchedBackOrReset) {
    fake::Reset();
    fake::Fail("SetWindowsHookExA(4");
    EXPECT_EQ(Hook(WH_CALLWNDPROC), nullptr);
    EXPECT_NE(Hook(WH_GETMESSAGE), nullptr);
    EXPECT_NE(Hook(40), nullptr) << "a key ends where an argument ends";
    fake::Fail("SetWindowsHookExA(4", false);
    EXPECT_NE(Hook(WH_CALLWNDPROC), nullptr);

    int source = 7;
    int copy = 0;
    fake::Fail("ReadProcessMemory");
    EXPECT_FALSE(platform::ReadProcessMemory(platform::GetCurrentProcess(), &source, &copy,
                                             sizeof copy, nullptr));
    EXPECT_EQ(copy, 0);
    fake::Reset();
    EXPECT_TRUE(platform::ReadProcessMemory(platform::GetCurrentProcess(), &source, &copy,
                                            sizeof copy, nullptr));
    EXPECT_EQ(copy, 7);

    // A call that cannot fail, or a misspelt one, is refused rather than ignored.
    EXPECT_THROW(fake::Fail("GetMenu"), std::invalid_argument);
    EXPECT_THROW(fake::Fail("ReadProcesMemory"), std::invalid_argument);
    fake::Reset();
}

}  // namespace
