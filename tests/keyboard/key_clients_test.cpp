#include <string>

#include "keyboard/key_clients.h"
#include "keyboard_fixture.h"
#include "platform/kernel.h"
#include "runtime/address_word.h"

namespace {

using namespace keyboard;
using test::CountingCallback;
using KeyClients = test::KeyboardModule;

uint32_t Address(MdnKeyClientCallback callback) {
    return runtime::AddressWord(callback);
}

std::string Take(uint32_t client) {
    char name[kCommandNameSize] = "(none)";
    return NextKeyEvent(client, name, nullptr) ? name : "(none)";
}

TEST_F(KeyClients, HandleIsTheCallbacksComplementAndOneClientPerCallback) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    EXPECT_EQ(a, ~Address(&CountingCallback<0>));
    EXPECT_EQ(RegisterKeyClient(&CountingCallback<0>), a);
    EXPECT_EQ(RegisterKeyClient(reinterpret_cast<MdnKeyClientCallback>(1)), 0xFFFFFFFEu);
    EXPECT_EQ(RegisterKeyClient(nullptr), 0u);
    EXPECT_EQ(keyboard::KeyClients().size(), 2u);
    for (auto op : {&UnregisterKeyClient, &EnableKeyClient, &DisableKeyClient}) {
        EXPECT_EQ(op(0), 0u);
    }
    EXPECT_EQ(AddKeyCommand(0, "X", 0, 65), 0u);
    EXPECT_EQ(NextKeyEvent(0, nullptr, nullptr), 0u);
}

TEST_F(KeyClients, UnregisterClosesTheGapAndFreesTheNames) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    const uint32_t b = RegisterKeyClient(&CountingCallback<1>);
    const uint32_t c = RegisterKeyClient(&CountingCallback<2>);
    const uint32_t x = AddKeyCommand(b, "MDN_X", 2, 112);
    const uint32_t y = AddKeyCommand(b, "MDN_Y", 0, 0);
    ASSERT_TRUE(x && y);
    EnableKeyClient(b);
    fake::ClearCalls();
    EXPECT_EQ(UnregisterKeyClient(b), 1u);
    EXPECT_TRUE(test::SameCalls(
        {"UnregisterHotKey(" + Window() + ", 0xC000)", "DeleteAtom(0xC000)", "DeleteAtom(0xC001)"},
        fake::Calls()));
    EXPECT_EQ(UnregisterKeyClient(b), 0u);
    ASSERT_EQ(keyboard::KeyClients().size(), 2u);
    EXPECT_EQ(keyboard::KeyClients()[0]->handle, a);
    EXPECT_EQ(keyboard::KeyClients()[1]->handle, c);
    EXPECT_EQ(fake::AtomCount(), 0);
    EXPECT_NE(AddKeyCommand(c, "mdn_x", 0, 65), 0u);
}

TEST_F(KeyClients, NamesCollideWithoutRegardToCaseAndPast63Characters) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    const uint32_t b = RegisterKeyClient(&CountingCallback<1>);
    const uint32_t id = AddKeyCommand(a, "Mdn_Cmd", 0, 65);
    EXPECT_GE(id, 0xC000u);
    char key[] = "B";
    EXPECT_EQ(BindKeyCommand(b, "MDN_CMD", key), 0u);
    EXPECT_EQ(AddKeyCommand(a, "mdn_cmd", 0, 66), 0u);
    EXPECT_EQ(FindKeyCommand("MDN_cmd"), id);

    const std::string first = std::string(63, 'L') + "first";
    const uint32_t long_id = AddKeyCommand(a, first.c_str(), 0, 0);
    EXPECT_NE(long_id, 0u);
    EXPECT_EQ(AddKeyCommand(b, (std::string(63, 'l') + "second").c_str(), 0, 0), 0u);
    EXPECT_EQ(FindKeyCommand((std::string(63, 'L') + "other").c_str()), long_id);
    EnableKeyClient(a);
    ASSERT_EQ(FireKeyCommand(long_id), 1u);
    EXPECT_EQ(Take(a), std::string(63, 'L'));

    for (const char* bad : {static_cast<const char*>(nullptr), ""}) {
        EXPECT_EQ(AddKeyCommand(b, bad, 0, 65), 0u);
        EXPECT_EQ(FindKeyCommand(bad), 0u);
    }
    // An atom held by other code of the process is no command, and cannot become one.
    platform::AddAtomA("OTHER_CODE");
    EXPECT_EQ(FindKeyCommand("OTHER_CODE"), 0u);
    EXPECT_EQ(AddKeyCommand(b, "other_code", 0, 65), 0u);
}

TEST_F(KeyClients, BindUpperCasesTheKeyTextInPlace) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    char lower[] = "ctrl+f1";
    const uint32_t id = BindKeyCommand(a, "MDN_LOWER", lower);
    EXPECT_STREQ(lower, "CTRL+F1");
    char accented[] = "\xE9+a";
    BindKeyCommand(a, "MDN_ACCENT", accented);
    EXPECT_STREQ(accented, "\xE9+A");
    // No lower-case letter: the text is not written, so it may be read-only.
    BindKeyCommand(a, "MDN_READ_ONLY", const_cast<char*>("SHIFT+F2"));
    EXPECT_NE(BindKeyCommand(a, "MDN_NO_TEXT", nullptr), 0u);
    // Refused binding: the text has been upper-cased all the same.
    EnableKeyClient(a);
    char refused[] = "alt+x";
    EXPECT_EQ(BindKeyCommand(a, "MDN_LATE", refused), 0u);
    EXPECT_STREQ(refused, "ALT+X");

    ASSERT_EQ(FireKeyCommand(id), 1u);
    MdnKeyBinding taken{};
    ASSERT_EQ(NextKeyEvent(a, nullptr, &taken), 1u);
    EXPECT_EQ(taken.command, id);
    EXPECT_EQ(taken.modifiers, 2u);
    EXPECT_EQ(taken.virtual_key, 112);
}

// A lone byte from 0x80 names no key: the command comes without one, and Windows is never
// asked for a hot key with a code past 0xFF.
TEST_F(KeyClients, ALoneByteFrom0x80NamesNoKey) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    char high[] = "\x80", accented[] = "ctrl+\xE9", last[] = "SHIFT \xFF";
    EXPECT_NE(BindKeyCommand(a, "MDN_HIGH", high), 0u);
    EXPECT_NE(BindKeyCommand(a, "MDN_ACCENTED", accented), 0u);
    EXPECT_NE(BindKeyCommand(a, "MDN_LAST", last), 0u);
    fake::ClearCalls();
    EXPECT_EQ(EnableKeyClient(a), 1u);
    EXPECT_TRUE(fake::CallsOf("RegisterHotKey").empty());
}

TEST_F(KeyClients, EnableRegistersKeysAndBindingWaitsForDisable) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    AddKeyCommand(a, "MDN_A", 0x1F6, 112);  // bits above WIN stay out of the hot key
    AddKeyCommand(a, "MDN_NO_KEY", 2, 0);
    const std::string w = Window();
    fake::ClearCalls();
    EXPECT_EQ(EnableKeyClient(a), 1u);
    EXPECT_EQ(EnableKeyClient(a), 1u);
    EXPECT_TRUE(test::SameCalls({"RegisterHotKey(" + w + ", 0xC000, MOD_CONTROL|MOD_SHIFT, 112)"},
                                fake::CallsOf("RegisterHotKey")));
    EXPECT_EQ(AddKeyCommand(a, "MDN_B", 1, 65), 0u);
    EXPECT_EQ(FireKeyCommand(0xC000), 1u);
    EXPECT_EQ(DisableKeyClient(a), 1u);
    EXPECT_EQ(DisableKeyClient(a), 0u);
    EXPECT_EQ(NextKeyEvent(a, nullptr, nullptr), 0u);
    EXPECT_EQ(AddKeyCommand(a, "MDN_B", 1, 65), 0xC002u);
    fake::ClearCalls();
    EnableKeyClient(a);
    EXPECT_TRUE(test::SameCalls(
        {"RegisterHotKey(" + w + ", 0xC000, MOD_CONTROL|MOD_SHIFT, 112)",
         "RegisterHotKey(" + w + ", 0xC002, MOD_ALT, 65)"},
        fake::CallsOf(std::vector<std::string>{"RegisterHotKey", "UnregisterHotKey"})));
    // The press taken before the disable was discarded with the queue.
    EXPECT_EQ(Take(a), "(none)");

    runtime::Values().simulator_window = nullptr;
    DisableKeyClient(a);
    EXPECT_EQ(EnableKeyClient(a), 0u);
}

TEST_F(KeyClients, NextKeyEventTakesOldestFirstEvenWithoutBuffers) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    const uint32_t one = AddKeyCommand(a, "ONE", 0, 0);
    const uint32_t two = AddKeyCommand(a, "Two", 0, 0);
    EXPECT_EQ(NextKeyEvent(a, nullptr, nullptr), 0u);  // disabled
    EnableKeyClient(a);
    FireKeyCommand(one);
    FireKeyCommand(two);
    FireKeyCommand(one);
    EXPECT_EQ(NextKeyEvent(a, nullptr, nullptr), 1u);
    EXPECT_EQ(Take(a), "Two");
    EXPECT_EQ(Take(a), "ONE");
    EXPECT_EQ(NextKeyEvent(a, nullptr, nullptr), 0u);
}

TEST_F(KeyClients, FullAtomTableRefusesTheBinding) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    for (int i = 0; i < 0x4000; ++i)
        platform::AddAtomA(("FILL" + std::to_string(i)).c_str());
    EXPECT_EQ(AddKeyCommand(a, "MDN_NO_ROOM", 0, 65), 0u);
    EXPECT_TRUE(FindKeyClient(a)->bindings.empty());
}

TEST(KeyCommandQueue, HoldsAtMost128AndKeepsOrderAroundTheEnd) {
    keyboard::KeyCommandQueue queue;
    MdnKeyBinding entry{};
    uint16_t next_in = 1, next_out = 1;
    for (int round = 0; round < 3; ++round) {
        while (queue.Push(MdnKeyBinding{next_in, 0, 0, 0}))
            ++next_in;
        EXPECT_EQ(queue.Waiting(), 128u);
        for (int i = 0; i < 100; ++i) {
            ASSERT_TRUE(queue.Pop(&entry));
            EXPECT_EQ(entry.command, next_out++);
        }
    }
    while (queue.Pop(&entry))
        EXPECT_EQ(entry.command, next_out++);
    EXPECT_EQ(next_out, next_in);
    EXPECT_TRUE(queue.Empty());
}

}  // namespace
