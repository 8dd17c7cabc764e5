// The entry point's attach and detach sequences: version check, simulator window, hooks.
#include <gtest/gtest.h>

#include "host/module_entry.h"
#include "host/module_state.h"
#include "platform/kernel.h"
#include "support/module_fixture.h"

namespace {

using test::FreshModule;

HINSTANCE const kInstance = reinterpret_cast<HINSTANCE>(0x6d000000);

std::string WrongVersionBox(const std::string& version) {
    return "Meridane Service Module Ver. 5.3.0.1\n\nMeridane Service Module is running on the "
           "wrong Flight Simulator version (" +
           version + ").\n\nThis module requires: Flight Simulator 2004, a Century of Flight.\n\n";
}

class Attach : public FreshModule {
  protected:
    void AttachWith(const std::string& panels_version, bool window = true) {
        test::InstallSimulator(panels_version);
        if (window)
            fake::AddWindow("FS98MAIN");
        fake::ClearCalls();
        EXPECT_EQ(host::ModuleEntry(kInstance, DLL_PROCESS_ATTACH), TRUE);
    }
    void TearDown() override {
        host::ModuleEntry(kInstance, DLL_PROCESS_DETACH);
        FreshModule::TearDown();
    }
    bool Started() { return !fake::CallsOf("SetTimer").empty(); }
};

struct VersionCase {
    const char* text;
    bool accepted;
};

class AttachVersion : public Attach, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(AttachVersion, StartsOnlyOnAcceptedSimulatorBuilds) {
    AttachWith(GetParam().text);
    EXPECT_EQ(Started(), GetParam().accepted) << GetParam().text;
    EXPECT_EQ(host::Module().attached, GetParam().accepted ? 1u : 0u);
    if (GetParam().accepted) {
        EXPECT_TRUE(fake::MessageBoxes().empty());
    } else {
        ASSERT_EQ(fake::MessageBoxes().size(), 1u);
        EXPECT_EQ(fake::MessageBoxes()[0].text, WrongVersionBox(GetParam().text));
        EXPECT_EQ(fake::MessageBoxes()[0].caption, "Meridane: Error");
        EXPECT_EQ(fake::MessageBoxes()[0].flags, 0x42010u);
        EXPECT_EQ(fake::InstalledHookCount(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AttachVersion,
    ::testing::Values(VersionCase{"9.01.040901.01", true}, VersionCase{"9.00.030612.02", true},
                      VersionCase{"9.01.040726.01", true}, VersionCase{"9.01.040811.01", true},
                      VersionCase{"9.01.999999.99", true}, VersionCase{"9.01", true},
                      VersionCase{"9.00.030612.03", false}, VersionCase{"9.00", false},
                      VersionCase{"8.00.020822.01", false}, VersionCase{"", false},
                      VersionCase{"9.1.0.40901", false}));

TEST_F(Attach, ReadsTheVersionOfFs9WhenPanelsIsNotLoaded) {
    test::InstallSimulator();
    fake::RemoveModule("PANELS.DLL");
    fake::SetVersionResource(std::string(test::kSimulatorFolder) + "\\fs9.exe", {"9.00.030612.02"});
    fake::AddWindow("FS98MAIN");
    host::ModuleEntry(kInstance, DLL_PROCESS_ATTACH);
    EXPECT_TRUE(Started());
}

TEST_F(Attach, NeitherSimulatorModuleLoadedReadsTheOwnVersionAndRefusesIt) {
    test::InstallSimulator();
    fake::RemoveModule("PANELS.DLL");
    fake::RemoveModule("fs9.exe");
    fake::AddWindow("FS98MAIN");
    host::ModuleEntry(kInstance, DLL_PROCESS_ATTACH);
    EXPECT_FALSE(Started());
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    EXPECT_EQ(fake::MessageBoxes()[0].text, WrongVersionBox("5.3.0.1"));
}

TEST_F(Attach, AcceptedVersionWithoutTheWindowNamesTheVersionAndStaysInert) {
    AttachWith("9.01.040901.01", /*window=*/false);
    EXPECT_FALSE(Started());
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    EXPECT_EQ(fake::MessageBoxes()[0].text, WrongVersionBox("9.01.040901.01"));
    EXPECT_EQ(fake::MessageBoxes()[0].owner, nullptr);
}

TEST_F(Attach, AWindowOfAnotherProcessIsNotTheSimulatorWindow) {
    test::InstallSimulator("9.01.040901.01");
    fake::SetWindowOwner(fake::AddWindow("FS98MAIN"), {platform::GetCurrentProcessId() + 4, 8});
    host::ModuleEntry(kInstance, DLL_PROCESS_ATTACH);
    EXPECT_FALSE(Started());
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    EXPECT_EQ(fake::MessageBoxes()[0].text, WrongVersionBox("9.01.040901.01"));
    EXPECT_EQ(fake::MessageBoxes()[0].owner, nullptr);
}

TEST_F(Attach, TheOwnWindowIsFoundBelowWindowsOfOtherProcesses) {
    test::InstallSimulator("9.01.040901.01");
    for (DWORD other = 1; other <= 2; ++other) {
        fake::SetWindowOwner(fake::AddAnotherWindow("FS98MAIN"),
                             {platform::GetCurrentProcessId() + other, 8});
    }
    HWND own = fake::AddAnotherWindow("FS98MAIN");
    host::ModuleEntry(kInstance, DLL_PROCESS_ATTACH);
    EXPECT_TRUE(Started());
    EXPECT_EQ(host::SimulatorWindow(), own);
    EXPECT_TRUE(fake::MessageBoxes().empty());
}

// The prompt is not shown at attach, under the loader lock: the folder browser needs COM and
// may start threads. The first link-timer tick asks, with the simulator window as owner, and
// binds the own commands from the chosen folder's settings file.
TEST_F(Attach, WithoutARegisteredFolderTheFirstTickAsksAndThenBindsTheOwnCommands) {
    test::InstallSimulator();
    fake::SetRegistryValue(test::kRegistryKey, "EXE Path", std::string("C:\\Nowhere") + '\0');
    fake::WriteFile("C:\\FS9\\Meridane\\Common\\Settings\\MDNSERVICES.INI",
                    "[keyboard]\nMDN_DUMP_KEYS=CTRL+SHIFT+F12\n");
    HWND window = fake::AddWindow("FS98MAIN");
    fake::ClearCalls();
    host::ModuleEntry(kInstance, DLL_PROCESS_ATTACH);
    EXPECT_TRUE(Started());
    EXPECT_TRUE(fake::MessageBoxes().empty());
    EXPECT_TRUE(fake::CallsOf({"CoInitializeEx", "SHBrowseForFolderA", "MessageBoxA"}).empty());
    EXPECT_TRUE(fake::RegisteredHotKeys().empty());

    fake::QueueMessageBoxAnswer(IDYES);
    fake::QueueFolderChoice("C:\\FS9");
    int ticks_while_asking = 0;
    fake::WhileMessageBoxShows([&] {
        ++ticks_while_asking;
        fake::FireTimers();  // the box's own loop dispatches the timer: no second prompt
    });
    fake::FireTimers();
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    EXPECT_EQ(ticks_while_asking, 1);
    EXPECT_EQ(fake::MessageBoxes()[0].owner, window);
    EXPECT_EQ(fake::CallsOf("SHBrowseForFolderA").size(), 1u);
    EXPECT_EQ(host::SimulatorFolder(), std::string("C:\\FS9"));
    EXPECT_EQ(fake::RegistryValue(test::kRegistryKey, "EXE Path"), std::string("C:\\FS9") + '\0');
    ASSERT_EQ(fake::RegisteredHotKeys().size(), 1u);
    EXPECT_EQ(fake::RegisteredHotKeys()[0].window, window);

    fake::FireTimers();  // asked once only
    EXPECT_EQ(fake::MessageBoxes().size(), 1u);
}

TEST_F(Attach, InstallsBothHooksOnTheLoadingThread) {
    AttachWith("9.01.040901.01");
    const std::string thread = std::to_string(platform::GetCurrentThreadId());
    EXPECT_TRUE(test::SameCalls({"DisableThreadLibraryCalls(0x6D000000)",
                                 "SetWindowsHookExA(4, 0x6D000000, " + thread + ")",
                                 "SetWindowsHookExA(3, 0x6D000000, " + thread + ")"},
                                fake::CallsOf({"DisableThreadLibraryCalls", "SetWindowsHookExA"})));
    EXPECT_NE(fake::InstalledHook(WH_CALLWNDPROC), nullptr);
    EXPECT_NE(fake::InstalledHook(WH_GETMESSAGE), nullptr);
    EXPECT_EQ(fake::CallsOf("SetTimer"), std::vector<std::string>{"SetTimer(0x0, 0, 2000)"});
}

TEST_F(Attach, FailedCallProcedureHookReportsCode0001AndStillStarts) {
    fake::Fail("SetWindowsHookExA(" + std::to_string(WH_CALLWNDPROC));
    AttachWith("9.01.040901.01");
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    EXPECT_EQ(fake::MessageBoxes()[0].text,
              "Meridane Service Module Ver. 5.3.0.1\n\nMeridane Service Module is not installed "
              "properly\n\nCode: 0001\n");
    EXPECT_EQ(fake::MessageBoxes()[0].flags, 0x42010u);
    EXPECT_NE(fake::MessageBoxes()[0].owner, nullptr);
    EXPECT_TRUE(Started());
}

TEST_F(Attach, FailedGetMessageHookReportsCode0002AndStillStarts) {
    fake::Fail("SetWindowsHookExA(" + std::to_string(WH_GETMESSAGE));
    AttachWith("9.01.040901.01");
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    EXPECT_NE(fake::MessageBoxes()[0].text.find("Code: 0002"), std::string::npos);
    EXPECT_TRUE(Started());
    EXPECT_EQ(fake::InstalledHookCount(), 1);
}

TEST_F(Attach, DetachAfterARefusedVersionDoesNothing) {
    AttachWith("8.00.020822.01");
    fake::ClearCalls();
    host::ModuleEntry(kInstance, DLL_PROCESS_DETACH);
    EXPECT_TRUE(fake::Calls().empty());
}

TEST_F(Attach, DetachRemovesTheGetMessageHookThenTheCallProcedureHook) {
    AttachWith("9.01.040901.01");
    fake::ClearCalls();
    host::ModuleEntry(kInstance, DLL_PROCESS_DETACH);
    const auto unhooks = fake::CallsOf("UnhookWindowsHookEx");
    ASSERT_EQ(unhooks.size(), 2u);
    EXPECT_EQ(unhooks[0], "UnhookWindowsHookEx(0xC00011)");
    EXPECT_EQ(unhooks[1], "UnhookWindowsHookEx(0xC00010)");
    EXPECT_EQ(fake::InstalledHookCount(), 0);
    EXPECT_EQ(host::Module().attached, 0u);
    EXPECT_FALSE(fake::CallsOf("KillTimer").empty());
}

TEST_F(Attach, OtherReasonsDoNothing) {
    test::InstallSimulator();
    fake::AddWindow("FS98MAIN");
    fake::ClearCalls();
    EXPECT_EQ(host::ModuleEntry(kInstance, DLL_THREAD_ATTACH), TRUE);
    EXPECT_EQ(host::ModuleEntry(kInstance, DLL_THREAD_DETACH), TRUE);
    EXPECT_TRUE(fake::Calls().empty());
}

}  // namespace
