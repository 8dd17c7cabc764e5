#include <string>

#include "keyboard/key_clients.h"
#include "keyboard_fixture.h"

namespace {

using namespace keyboard;
using test::CallbackLog;
using test::CountingCallback;
using HotKeyDispatch = test::KeyboardModule;

std::vector<std::string> HotKeyCalls() {
    return fake::CallsOf(
        std::vector<std::string>{"RegisterHotKey", "UnregisterHotKey", "GetAsyncKeyState"});
}

TEST_F(HotKeyDispatch, KeyStateBitGatesDelivery) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    char key[] = "ctrl+shift+f1";
    const uint32_t id = BindKeyCommand(a, "MDN_DUMP_KEYS", key);
    EnableKeyClient(a);
    fake::ClearCalls();
    EXPECT_FALSE(DispatchHotKey(id, false));  // no press since the last query
    fake::PressKey(112);
    EXPECT_TRUE(DispatchHotKey(id, false));
    EXPECT_FALSE(DispatchHotKey(id, false));  // the same message seen a second time
    EXPECT_TRUE(
        test::SameCalls({"GetAsyncKeyState(112)", "GetAsyncKeyState(112)", "GetAsyncKeyState(112)"},
                        HotKeyCalls()));
    EXPECT_EQ(CallbackLog::calls[0], 1);
    char name[64];
    MdnKeyBinding taken{};
    ASSERT_EQ(NextKeyEvent(a, name, &taken), 1u);
    EXPECT_STREQ(name, "MDN_DUMP_KEYS");
    EXPECT_EQ(taken.command, id);
    EXPECT_FALSE(DispatchHotKey(0, false));
    EXPECT_FALSE(DispatchHotKey(0x1C000 | id, false));  // compared as 32 bits
}

TEST_F(HotKeyDispatch, ForcedDeliveryNeedsNoKeyButAnEnabledClient) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    const uint32_t b = RegisterKeyClient(&CountingCallback<1>);
    const uint32_t no_key = AddKeyCommand(a, "MDN_NO_KEY", 0, 0);
    const uint32_t of_b = AddKeyCommand(b, "MDN_OF_B", 0, 65);
    EnableKeyClient(a);
    fake::ClearCalls();
    EXPECT_EQ(FireKeyCommand(no_key), 1u);
    EXPECT_EQ(FireKeyCommand(0xABCD0000u | no_key), 1u);
    EXPECT_EQ(FireKeyCommand(of_b), 0u);  // b is disabled
    EXPECT_EQ(FireKeyCommand(0), 0u);
    EXPECT_EQ(FireKeyCommand(0xC0FF), 0u);
    EXPECT_TRUE(HotKeyCalls().empty());
    EXPECT_EQ(CallbackLog::calls[0], 2);
    EXPECT_EQ(CallbackLog::calls[1], 0);
}

TEST_F(HotKeyDispatch, FirstClientThatTakesTheIdEndsTheDispatch) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    const uint32_t b = RegisterKeyClient(&CountingCallback<1>);
    const uint32_t c = RegisterKeyClient(&CountingCallback<2>);
    AddKeyCommand(a, "MDN_A", 0, 65);
    const uint32_t id = AddKeyCommand(b, "MDN_SHARED", 0, 66);
    for (uint32_t h : {a, b, c})
        EnableKeyClient(h);
    // Ids are unique across clients; a copy in a later client shows it is never tried.
    FindKeyClient(c)->bindings.push_back(FindKeyClient(b)->bindings[0]);
    fake::PressKey(66);
    EXPECT_TRUE(DispatchHotKey(id, false));
    EXPECT_EQ(CallbackLog::calls[1], 1);
    EXPECT_EQ(CallbackLog::calls[2], 0);
    FindKeyClient(c)->bindings.pop_back();
}

TEST_F(HotKeyDispatch, QueueFullDropsThePressButCallsTheCallback) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    const uint32_t id = AddKeyCommand(a, "MDN_REPEAT", 0, 0);
    EnableKeyClient(a);
    for (int i = 0; i < 130; ++i)
        FireKeyCommand(id);
    EXPECT_EQ(CallbackLog::calls[0], 130);
    int waiting = 0;
    while (NextKeyEvent(a, nullptr, nullptr))
        ++waiting;
    EXPECT_EQ(waiting, 128);
}

TEST_F(HotKeyDispatch, CallbackMayUnregisterClientsIncludingItsOwn) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    const uint32_t b = RegisterKeyClient(&CountingCallback<1>);
    const uint32_t id = AddKeyCommand(a, "MDN_QUIT", 0, 0);
    AddKeyCommand(b, "MDN_OTHER", 0, 0);
    EnableKeyClient(a);
    EnableKeyClient(b);
    std::string taken;
    CallbackLog::action[0] = [&] {
        char name[64];
        while (NextKeyEvent(a, name, nullptr))
            taken += name;
        UnregisterKeyClient(b);
        UnregisterKeyClient(a);
        RegisterKeyClient(&CountingCallback<2>);
    };
    EXPECT_EQ(FireKeyCommand(id), 1u);
    EXPECT_EQ(taken, "MDN_QUIT");
    ASSERT_EQ(keyboard::KeyClients().size(), 1u);
    EXPECT_EQ(FireKeyCommand(id), 0u);
}

TEST_F(HotKeyDispatch, LosingActivationKeepsHotKeysAndQueuesForEnabledClients) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    const uint32_t b = RegisterKeyClient(&CountingCallback<1>);
    const uint32_t c = RegisterKeyClient(&CountingCallback<2>);
    const uint32_t a1 = AddKeyCommand(a, "A1", 0x22, 112);
    AddKeyCommand(a, "A2", 0, 0);
    AddKeyCommand(b, "B1", 4, 113);
    AddKeyCommand(c, "C1", 1, 114);  // c stays disabled
    EnableKeyClient(a);
    EnableKeyClient(b);
    FireKeyCommand(a1);
    const auto before = fake::RegisteredHotKeys();
    ASSERT_EQ(before.size(), 2u);
    const std::string w = Window();

    fake::ClearCalls();
    SuspendHotKeys();
    EXPECT_TRUE(test::SameCalls(
        {"UnregisterHotKey(" + w + ", 0xC000)", "UnregisterHotKey(" + w + ", 0xC002)"},
        HotKeyCalls()));
    EXPECT_TRUE(fake::RegisteredHotKeys().empty());
    fake::ClearCalls();
    ResumeHotKeys();
    EXPECT_TRUE(test::SameCalls({"RegisterHotKey(" + w + ", 0xC000, MOD_CONTROL, 112)",
                                 "RegisterHotKey(" + w + ", 0xC002, MOD_SHIFT, 113)"},
                                HotKeyCalls()));
    const auto after = fake::RegisteredHotKeys();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].id, before[i].id);
        EXPECT_EQ(after[i].modifiers, before[i].modifiers);
        EXPECT_EQ(after[i].virtual_key, before[i].virtual_key);
    }
    EXPECT_EQ(NextKeyEvent(a, nullptr, nullptr), 1u);  // the waiting press survived

    // Disabled in the background: nothing comes back for it.
    SuspendHotKeys();
    DisableKeyClient(b);
    fake::ClearCalls();
    ResumeHotKeys();
    EXPECT_TRUE(
        test::SameCalls({"RegisterHotKey(" + w + ", 0xC000, MOD_CONTROL, 112)"}, HotKeyCalls()));
}

class HotKeyHooks : public test::AttachedModule {
  protected:
    void SetUp() override {
        AttachedModule::SetUp();
        test::ResetCallbacks();
    }
};

TEST_F(HotKeyHooks, WindowMessagesReachTheKeyboard) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    const uint32_t id = AddKeyCommand(a, "MDN_HOOKED", 2, 112);
    EnableKeyClient(a);
    HOOKPROC get_message = fake::InstalledHook(WH_GETMESSAGE);
    HOOKPROC call_procedure = fake::InstalledHook(WH_CALLWNDPROC);
    ASSERT_TRUE(get_message && call_procedure);

    CWPSTRUCT deactivate{0, 0, WM_ACTIVATEAPP, window_};
    call_procedure(HC_ACTION, 0, reinterpret_cast<LPARAM>(&deactivate));
    EXPECT_TRUE(fake::RegisteredHotKeys().empty());
    CWPSTRUCT activate{0, 1, WM_ACTIVATEAPP, window_};
    call_procedure(HC_ACTION, 0, reinterpret_cast<LPARAM>(&activate));
    ASSERT_EQ(fake::RegisteredHotKeys().size(), 1u);

    MSG hot_key{};
    hot_key.hwnd = window_;
    hot_key.message = WM_HOTKEY;
    hot_key.wParam = id;
    fake::PressKey(112);
    get_message(HC_ACTION, 0 /* examined */, reinterpret_cast<LPARAM>(&hot_key));
    get_message(HC_ACTION, 1 /* removed */, reinterpret_cast<LPARAM>(&hot_key));
    EXPECT_EQ(CallbackLog::calls[0], 1);
}

}  // namespace
