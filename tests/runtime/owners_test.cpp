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

}  // namespace
