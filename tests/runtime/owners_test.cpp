// Owner types: a handle is released once, on every path, and never when given up.
#include <gtest/gtest.h>

#include <vector>

#include "platform/fake.h"
#include "runtime/owners.h"

namespace {

std::vector<int*> released;
void Release(int* handle) {
    released.push_back(handle);
}
using Owner = runtime::UniqueOwner<int*, &Release>;

TEST(Owners, ReleaseOnceOnEveryPathAndNeverWhenGivenUp) {
    int a = 0, b = 0, c = 0;
    released.clear();
    {
        Owner owner{&a};
        Owner moved = std::move(owner);
        EXPECT_FALSE(owner);
        *moved.put() = &b;  // an out-parameter replaces, and releases, what was owned
        Owner kept{&c};
        EXPECT_EQ(kept.release(), &c);
        Owner none;
    }
    EXPECT_EQ(released, (std::vector<int*>{&a, &b}));
}

TEST(Owners, EachKindIsTiedToItsReleaseCall) {
    fake::Reset();
    {
        runtime::UniqueFile file{std::tmpfile()};
        ASSERT_TRUE(file);
        runtime::UniqueHook hook{reinterpret_cast<HHOOK>(0xC00010)};
        runtime::UniqueKey key{reinterpret_cast<HKEY>(0x1234)};
    }
    EXPECT_EQ(fake::CallsOf({"UnhookWindowsHookEx", "RegCloseKey"}),
              (std::vector<std::string>{"RegCloseKey(0x1234)", "UnhookWindowsHookEx(0xC00010)"}));
}

// A failed CreateFileA gives INVALID_HANDLE_VALUE: owned, it must count as empty and never be
// closed, while a null file handle is a handle like any other.
TEST(Owners, AFileHandleIsEmptyWhenInvalidNotWhenNull) {
    fake::Reset();
    {
        runtime::UniqueFileHandle failed{INVALID_HANDLE_VALUE};
        EXPECT_FALSE(failed);
        runtime::UniqueFileHandle none;
        EXPECT_EQ(none.get(), INVALID_HANDLE_VALUE);
        runtime::UniqueFileHandle opened{reinterpret_cast<HANDLE>(0x5678)};
        EXPECT_TRUE(opened);
        runtime::UniqueFileHandle given_up{reinterpret_cast<HANDLE>(0x9ABC)};
        EXPECT_EQ(given_up.release(), reinterpret_cast<HANDLE>(0x9ABC));
        EXPECT_EQ(given_up.get(), INVALID_HANDLE_VALUE);
    }
    EXPECT_EQ(fake::CallsOf("CloseHandle"), (std::vector<std::string>{"CloseHandle(0x5678)"}));
}

}  // namespace
