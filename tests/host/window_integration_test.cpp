// The module in the simulator's window: the hooks, the "M&DN" menu and its commands.
#include <gtest/gtest.h>

#include "host/module_state.h"
#include "host/window_integration.h"
#include "navigation/navigation.h"
#include "support/module_fixture.h"

namespace {

class Window : public test::AttachedModule {
  protected:
    void SetUp() override {
        AttachedModule::SetUp();
        bar_ = fake::AddMenuBar(window_, {"&File", "&Options", "&Views", "&Aircraft", "&Help"});
        fake::ClearCalls();
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, int code = HC_ACTION) {
        CWPSTRUCT sent{0, wParam, message, window_};
        return fake::InstalledHook(WH_CALLWNDPROC)(code, 0, reinterpret_cast<LPARAM>(&sent));
    }
    LRESULT Retrieve(UINT message, WPARAM wParam, int code = HC_ACTION, WPARAM removed = 1) {
        MSG msg{window_, message, wParam, 0, 0, {0, 0}};
        return fake::InstalledHook(WH_GETMESSAGE)(code, removed, reinterpret_cast<LPARAM>(&msg));
    }
    std::vector<std::string> Titles(HMENU menu) {
        std::vector<std::string> titles;
        for (const auto& item : fake::MenuItems(menu)) {
            titles.push_back(item.flags & MF_SEPARATOR ? "-" : item.text);
        }
        return titles;
    }
    HMENU bar_ = nullptr;
};

TEST_F(Window, PaintAddsTheTopMenuOnceWithItsSixEntries) {
    Send(WM_NCPAINT);
    Send(WM_NCPAINT);
    const auto bar = fake::MenuItems(bar_);
    ASSERT_EQ(bar.size(), 6u);
    EXPECT_EQ(bar[5].text, "M&DN");
    EXPECT_EQ(bar[5].flags, static_cast<UINT>(MF_POPUP));
    EXPECT_EQ(Titles(bar[5].submenu),
              (std::vector<std::string>{"Meridane Community", "Meridane General Forum",
                                        "Meridane Customer Services", "-", "Visit Meridane Website",
                                        "About..."}));
    std::vector<UINT> ids;
    for (const auto& item : fake::MenuItems(bar[5].submenu))
        ids.push_back(item.id);
    EXPECT_EQ(ids, (std::vector<UINT>{39154, 39155, 39153, 0, 39152, 39167}));
    EXPECT_EQ(fake::MenuItems(bar[5].submenu)[3].flags, 0x802u);
    EXPECT_EQ(fake::CallsOf("DrawMenuBar").size(), 1u);
}

TEST_F(Window, TheTopMenuIsAppendedWithItsFlagsByName) {
    Send(WM_NCPAINT);
    const std::string bar = fake::Format(bar_);
    const std::string popup = fake::Format(fake::MenuItems(bar_)[5].submenu);
    EXPECT_TRUE(test::SameCalls(
        {"CreatePopupMenu()",
         "AppendMenuA(" + popup + ", MF_STRING, 39154, \"Meridane Community\")",
         "AppendMenuA(" + popup + ", MF_STRING, 39155, \"Meridane General Forum\")",
         "AppendMenuA(" + popup + ", MF_STRING, 39153, \"Meridane Customer Services\")",
         "AppendMenuA(" + popup + ", MF_SEPARATOR|MF_DISABLED, 0, null)",
         "AppendMenuA(" + popup + ", MF_STRING, 39152, \"Visit Meridane Website\")",
         "AppendMenuA(" + popup + ", MF_STRING, 39167, \"About...\")",
         "AppendMenuA(" + bar + ", MF_POPUP, " + popup + ", \"M&DN\")"},
        fake::CallsOf({"CreatePopupMenu", "AppendMenuA"})));
    for (const auto& line : fake::CallsOf("GetMenuStringA"))
        EXPECT_NE(line.find(", MF_BYPOSITION)"), std::string::npos) << line;
}

TEST_F(Window, NoMenuBarOrNoPopupAddsNothing) {
    fake::Fail("CreatePopupMenu");
    Send(WM_NCPAINT);
    EXPECT_EQ(fake::MenuItems(bar_).size(), 5u);
    EXPECT_TRUE(fake::CallsOf("AppendMenuA").empty());
}

TEST_F(Window, HooksAlwaysPassTheMessageOnUnchanged) {
    Send(WM_NCPAINT, 7);
    Retrieve(WM_COMMAND, 39162);
    const auto passed = fake::CallsOf("CallNextHookEx");
    ASSERT_EQ(passed.size(), 2u);
    EXPECT_EQ(passed[0].rfind("CallNextHookEx(0xC00010, 0, 0, 0x", 0), 0u) << passed[0];
    EXPECT_EQ(passed[1].rfind("CallNextHookEx(0xC00011, 0, 1, 0x", 0), 0u) << passed[1];
}

TEST_F(Window, CodesOtherThanActionOnlyPassTheMessageOn) {
    Send(WM_NCPAINT, 0, /*code=*/3);
    Retrieve(WM_COMMAND, 39162, /*code=*/1);
    Retrieve(WM_COMMAND, 39167, /*code=*/-1);
    EXPECT_EQ(fake::MenuItems(bar_).size(), 5u);
    EXPECT_FALSE(navigation::VorPassThrough());
    EXPECT_TRUE(fake::MessageBoxes().empty());
    EXPECT_EQ(fake::CallsOf("CallNextHookEx").size(), 3u);
}

TEST_F(Window, LinksOpenTheMakersPagesWithoutErrorUi) {
    for (WPARAM id : {39152, 39153, 39154, 39155, 39156})
        Retrieve(WM_COMMAND, id);
    const std::string tail = ", 0x400, 0x0, \"open\", ";
    EXPECT_TRUE(test::SameCalls(
        {"ShellExecuteExA(60" + tail + "\"https://www.meridane.example/\", null, null, 3)",
         "ShellExecuteExA(60" + tail + "\"https://support.meridane.example/\", null, null, 3)",
         "ShellExecuteExA(60" + tail + "\"https://community.meridane.example/\", null, null, 3)",
         "ShellExecuteExA(60" + tail +
             "\"https://forum.meridane.example/general/\", null, null, 3)",
         "ShellExecuteExA(60" + tail +
             "\"https://store.meridane.example/upgrades/\", null, null, 3)"},
        fake::CallsOf("ShellExecuteExA")));
}

TEST_F(Window, MenuCommandsActOnlyWhenTheMessageIsRemoved) {
    Retrieve(WM_COMMAND, 39162, HC_ACTION, /*removed=*/0);
    EXPECT_FALSE(navigation::VorPassThrough());
    Retrieve(WM_COMMAND, 39162, HC_ACTION, /*removed=*/1);
    EXPECT_TRUE(navigation::VorPassThrough());
    Retrieve(WM_COMMAND, 0x10000 | 39162);  // only the low word is the identifier
    EXPECT_FALSE(navigation::VorPassThrough());
}

TEST_F(Window, AboutShowsTheNoticeInTheInformationBox) {
    Retrieve(WM_COMMAND, 39167);
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    const auto box = fake::MessageBoxes()[0];
    EXPECT_EQ(box.caption, "Meridane: Information");
    EXPECT_EQ(box.flags, 0x42000u);
    EXPECT_EQ(box.owner, window_);
    EXPECT_EQ(box.text.rfind("Meridane Service Module Ver. 5.3.0.1\n\nMdnSrv, the Meridane", 0), 0u)
        << box.text;
}

TEST_F(Window, UnknownIdentifiersAreIgnored) {
    for (WPARAM id : {0, 39151, 39157, 39163, 38911, 38952, 65535})
        Retrieve(WM_COMMAND, id);
    EXPECT_TRUE(fake::CallsOf({"ShellExecuteExA", "MessageBoxA"}).empty());
    EXPECT_FALSE(navigation::VorPassThrough());
}

}  // namespace
