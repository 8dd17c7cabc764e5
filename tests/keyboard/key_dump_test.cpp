#include <string>

#include "keyboard_fixture.h"

namespace {

using namespace keyboard;
using test::CountingCallback;
using KeyDump = test::KeyboardModule;

const std::string kDumpPath = std::string(test::kSimulatorFolder) + "\\MDNSERVICES_KeysDump.txt";

TEST_F(KeyDump, ListsKeyedBindingsClientByClientInBindingOrder) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    const uint32_t b = RegisterKeyClient(&CountingCallback<1>);
    char dump_keys[] = "ctrl+alt+f12", modifiers_only[] = "CTRL+SHIFT", blanks[] = "shift ctrl f1",
         prior[] = "PRIOR";
    BindKeyCommand(b, "Gauge_Second", prior);
    BindKeyCommand(a, "MDN_DUMP_KEYS", dump_keys);
    BindKeyCommand(a, "MDN_NO_KEY", modifiers_only);
    BindKeyCommand(a, "Mdn_Blanks", blanks);
    AddKeyCommand(a, "MDN_DECIMAL", 0, 110);
    EnableKeyClient(a);  // the dump does not look at the clients' state
    fake::ClearCalls();
    ASSERT_TRUE(DumpKeyBindings());
    EXPECT_TRUE(test::SameCalls({"OpenTextFile(\"" + kDumpPath + "\", \"w\")"},
                                fake::CallsOf("OpenTextFile")));
    EXPECT_EQ(fake::ReadFile(kDumpPath),
              "MDN_DUMP_KEYS=ALT+CTRL+F12\n"
              "Mdn_Blanks=CTRL+SHIFT+F1\n"
              "MDN_DECIMAL=n\n"
              "Gauge_Second=PAGEUP\n");
}

// Names and unnamed keys may hold any byte; escaped, each binding stays one line and two
// different names never read the same.
TEST_F(KeyDump, NamesAndUnnamedKeysAreEscaped) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    AddKeyCommand(a, "Line\nBreak", 0, 'A');
    AddKeyCommand(a, "Back\\slash", 0, 0x0A);
    AddKeyCommand(a, "Quote\"d", MDN_MOD_CTRL, 0xE9);
    AddKeyCommand(a, "Back\\x22", 0, '\\');
    ASSERT_TRUE(DumpKeyBindings());
    EXPECT_EQ(fake::ReadFile(kDumpPath),
              "Line\\x0ABreak=A\n"
              "Back\\\\slash=\\x0A\n"
              "Quote\\x22d=CTRL+\\xE9\n"
              "Back\\\\x22=\\\\\n");
}

TEST_F(KeyDump, SecondDumpReplacesTheFirst) {
    const uint32_t a = RegisterKeyClient(&CountingCallback<0>);
    AddKeyCommand(a, "MDN_GONE", 2, 65);
    ASSERT_TRUE(DumpKeyBindings());
    UnregisterKeyClient(a);
    ASSERT_TRUE(DumpKeyBindings());
    EXPECT_EQ(fake::ReadFile(kDumpPath), "");
}

TEST_F(KeyDump, UnopenableFileGivesFalse) {
    fake::SetFileLocked(kDumpPath, true);
    EXPECT_FALSE(DumpKeyBindings());
}

}  // namespace
