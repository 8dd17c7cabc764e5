// The fake atom table and hot keys behave as Windows' do where the keyboard relies on it.
#include <gtest/gtest.h>

#include "platform/fake.h"
#include "platform/kernel.h"
#include "platform/user.h"

namespace {

class FakeKeyboardPlatform : public ::testing::Test {
  protected:
    void SetUp() override { fake::Reset(); }
    void TearDown() override { fake::Reset(); }
};

TEST_F(FakeKeyboardPlatform, AtomsAreCaseBlindCountedAndReused) {
    using namespace platform;
    EXPECT_EQ(AddAtomA("First"), 0xC000);
    EXPECT_EQ(AddAtomA("Second"), 0xC001);
    EXPECT_EQ(AddAtomA("FIRST"), 0xC000);
    EXPECT_EQ(fake::AtomReferenceCount(0xC000), 2);
    EXPECT_EQ(DeleteAtom(0xC000), 0);
    EXPECT_EQ(FindAtomA("first"), 0xC000);
    EXPECT_EQ(DeleteAtom(0xC000), 0);
    EXPECT_EQ(FindAtomA("first"), 0);
    EXPECT_EQ(DeleteAtom(0xC000), 0xC000);  // no longer held
    EXPECT_EQ(AddAtomA("third"), 0xC000);

    char name[8] = "";
    EXPECT_EQ(GetAtomNameA(0xC001, name, sizeof name), 6u);
    EXPECT_STREQ(name, "Second");
    EXPECT_EQ(GetAtomNameA(0xC001, name, 4), 3u);
    EXPECT_STREQ(name, "Sec");
    EXPECT_EQ(GetAtomNameA(0xC005, name, sizeof name), 0u);
    // "#" and digits is a number, not a name.
    EXPECT_EQ(AddAtomA("#42"), 42);
    EXPECT_EQ(FindAtomA("#42"), 42);
    EXPECT_EQ(AddAtomA("#49152"), 0);
    EXPECT_EQ(AddAtomA(""), 0);
    EXPECT_EQ(AddAtomA(std::string(256, 'x').c_str()), 0);
    EXPECT_EQ(fake::AtomCount(), 2);
}

TEST_F(FakeKeyboardPlatform, HotKeysRefuseATakenCombination) {
    using namespace platform;
    HWND w = fake::AddWindow("FS98MAIN");
    EXPECT_TRUE(RegisterHotKey(w, 0xC000, MOD_CONTROL, 112));
    EXPECT_FALSE(RegisterHotKey(w, 0xC000, MOD_CONTROL, 112));
    EXPECT_FALSE(RegisterHotKey(nullptr, 7, MOD_CONTROL | 0x4000, 112));
    EXPECT_TRUE(RegisterHotKey(w, 0xC000, MOD_ALT, 112));  // same id: replaced
    ASSERT_EQ(fake::RegisteredHotKeys().size(), 1u);
    EXPECT_EQ(fake::RegisteredHotKeys()[0].modifiers, static_cast<UINT>(MOD_ALT));
    EXPECT_TRUE(UnregisterHotKey(w, 0xC000));
    EXPECT_FALSE(UnregisterHotKey(w, 0xC000));

    fake::PressKey(65);
    EXPECT_EQ(GetAsyncKeyState(65) & 1, 1);
    EXPECT_EQ(GetAsyncKeyState(65) & 1, 0);
    EXPECT_EQ(GetAsyncKeyState(-23), 0);
}

}  // namespace
