// Locating the simulator folder (registry, prompt, folder browser) and reading versions.
#include <gtest/gtest.h>

#include <cstring>

#include "runtime/message_boxes.h"
#include "runtime/module_version.h"
#include "host/module_state.h"
#include "host/sim_location.h"
#include "support/module_fixture.h"
#include "platform/win_shell.h"

namespace {

using test::kRegistryKey;

class Location : public test::FreshModule {
  protected:
    void SetUp() override {
        FreshModule::SetUp();
        fake::SetVersionResource("MdnSrv.dll", {"5.3.0.1"});
        fake::WriteFile("C:\\FS9\\fs9.exe", "MZ");
        fake::MakeDirectory("C:\\Empty");
    }
    std::string Folder() { return host::SimulatorFolder(); }
    // The registry at attach, then the prompt from the first link-timer tick.
    bool Locate() { return host::FindRegisteredSimulator() || host::AskForSimulatorFolder(); }
    size_t Prompts() { return fake::MessageBoxes().size(); }
};

const char kPromptText[] =
    "Meridane Service Module Ver. 5.3.0.1\n\nThe system failed to locate Flight Simulator. You "
    "will be prompted to select\nthe Flight Simulator 2004 installation folder.\n\nDo you want "
    "to proceed?\n";

TEST_F(Location, RegistryFolderHoldingFs9IsTakenWithoutPromptOrWrite) {
    fake::SetRegistryValue(kRegistryKey, "EXE Path", std::string("C:\\FS9") + '\0');
    EXPECT_TRUE(Locate());
    EXPECT_EQ(Folder(), "C:\\FS9");
    EXPECT_EQ(Prompts(), 0u);
    EXPECT_TRUE(fake::CallsOf({"RegCreateKeyExA", "RegSetValueExA"}).empty());
    EXPECT_EQ(fake::CallsOf("RegOpenKeyExA"),
              std::vector<std::string>{"RegOpenKeyExA(0x80000002, \"" + std::string(kRegistryKey) +
                                       "\", 0, 0xF003F)"});
    EXPECT_EQ(fake::CallsOf("RegCloseKey").size(), 1u);
}

TEST_F(Location, FolderWithoutFs9PromptsAndNoKeepsTheWrongFolder) {
    fake::SetRegistryValue(kRegistryKey, "EXE Path", std::string("C:\\Empty") + '\0');
    fake::QueueMessageBoxAnswer(IDNO);
    EXPECT_FALSE(Locate());
    ASSERT_EQ(Prompts(), 1u);
    const auto box = fake::MessageBoxes()[0];
    EXPECT_EQ(box.text, kPromptText);
    EXPECT_EQ(box.caption, "Meridane: Error");
    EXPECT_EQ(box.flags, 0x42004u);
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(Folder(), "C:\\Empty");
}

TEST_F(Location, FolderNamingADirectoryCalledFs9IsNotValid) {
    fake::MakeDirectory("C:\\Odd\\fs9.exe");
    fake::SetRegistryValue(kRegistryKey, "EXE Path", std::string("C:\\Odd") + '\0');
    EXPECT_FALSE(Locate());
    EXPECT_EQ(Prompts(), 1u);
}

TEST_F(Location, PromptRepeatsUntilAValidFolderIsChosenAndStoresIt) {
    // No registry key at all: prompt; Cancel; prompt; a folder without fs9.exe; prompt; FS9.
    for (int i = 0; i < 3; ++i)
        fake::QueueMessageBoxAnswer(IDYES);
    fake::QueueFolderChoice(std::nullopt);
    fake::QueueFolderChoice("C:\\Empty");
    fake::QueueFolderChoice("C:\\FS9");
    EXPECT_TRUE(Locate());
    EXPECT_EQ(Prompts(), 3u);
    EXPECT_EQ(Folder(), "C:\\FS9");
    EXPECT_EQ(fake::RegistryValue(kRegistryKey, "EXE Path"), std::string("C:\\FS9") + '\0');
    EXPECT_EQ(fake::CallsOf("RegCreateKeyExA"),
              std::vector<std::string>{"RegCreateKeyExA(0x80000002, \"" +
                                       std::string(kRegistryKey) + "\", 0, 0x20006)"});
    const auto browse = fake::CallsOf("SHBrowseForFolderA");
    ASSERT_EQ(browse.size(), 3u);
    EXPECT_EQ(browse[0],
              "SHBrowseForFolderA(0x0, \"Select the Flight Simulator 2004 folder:\", 5, 0)");
    // Each chosen item list is released again.
    EXPECT_EQ(fake::CallsOf("ILFree").size(), 2u);
}

// The browser runs with COM in a single-threaded apartment on the thread, balanced after it
// (also when COM was there already); a thread in the other apartment keeps it.
TEST_F(Location, BrowserRunsWithComInitialisedOnItsThread) {
    for (const HRESULT result : {S_OK, S_FALSE, RPC_E_CHANGED_MODE}) {
        fake::SetRegistryValue(kRegistryKey, "EXE Path", std::string("C:\\Odd") + '\0');
        fake::ClearCalls();
        fake::SetComInitializeResult(result);
        fake::QueueMessageBoxAnswer(IDYES);
        fake::QueueFolderChoice("C:\\FS9");
        EXPECT_TRUE(Locate());
        std::vector<std::string> expected = {"CoInitializeEx(0x0, 6)",
                                             "SHBrowseForFolderA(0x0, \"Select the Flight "
                                             "Simulator 2004 folder:\", 5, 0)",
                                             "CoUninitialize()"};
        if (result == RPC_E_CHANGED_MODE)
            expected.pop_back();
        EXPECT_EQ(fake::CallsOf({"CoInitializeEx", "SHBrowseForFolderA", "CoUninitialize"}),
                  expected)
            << result;
    }
}

TEST_F(Location, BrowserStatusShowsTheSelectedPath) {
    fake::QueueMessageBoxAnswer(IDYES);
    fake::QueueFolderChoice("C:\\FS9");
    EXPECT_TRUE(Locate());
    const auto status = fake::CallsOf("SendMessageA");
    ASSERT_EQ(status.size(), 1u);
    EXPECT_EQ(status[0].rfind("SendMessageA(0xD1A100, 0x464, 0, 0x", 0), 0u) << status[0];
}

TEST_F(Location, UnwritableRegistryStillUsesTheChosenFolder) {
    fake::Fail("RegCreateKeyExA");
    fake::QueueMessageBoxAnswer(IDYES);
    fake::QueueFolderChoice("C:\\FS9");
    EXPECT_TRUE(Locate());
    EXPECT_EQ(Folder(), "C:\\FS9");
    EXPECT_TRUE(fake::CallsOf("RegSetValueExA").empty());
}

TEST_F(Location, OverlongOrUnterminatedRegistryValuesStayInsideTheFolderBuffer) {
    // 259 characters and no terminator: taken, terminated, but names no fs9.exe.
    fake::SetRegistryValue(kRegistryKey, "EXE Path", "C:\\" + std::string(257, 'a'));
    EXPECT_FALSE(Locate());
    EXPECT_LE(Folder().size(), 259u);
    // 300 bytes: the read fails, the folder is left empty and terminated.
    fake::Reset();
    fake::SetVersionResource("MdnSrv.dll", {"5.3.0.1"});
    fake::SetRegistryValue(kRegistryKey, "EXE Path", std::string(300, 'b'));
    EXPECT_FALSE(Locate());
    EXPECT_EQ(Folder(), "");
    // Exactly 260 bytes without a NUL: cut to 259 characters.
    fake::Reset();
    fake::SetVersionResource("MdnSrv.dll", {"5.3.0.1"});
    fake::SetRegistryValue(kRegistryKey, "EXE Path", std::string(260, 'c'));
    EXPECT_FALSE(Locate());
    EXPECT_EQ(Folder(), std::string(259, 'c'));
}

TEST_F(Location, VersionDigitsPackOneDigitPerByte) {
    ASSERT_TRUE(runtime::ReadVersionText(nullptr, nullptr));
    EXPECT_EQ(std::string(runtime::VersionDigits(), 4), "5301");
    EXPECT_EQ(runtime::PackedVersion(), 0x05030001u);
}

TEST_F(Location, ReadingAnotherModulesVersionOverwritesTheDigitsUntilTheOwnIsReadAgain) {
    HMODULE panels = fake::AddModule("PANELS.DLL", "C:\\FS9\\MODULES\\PANELS.DLL");
    fake::SetVersionResource("C:\\FS9\\MODULES\\PANELS.DLL", {"9.01.040901.01"});
    char text[260] = "";
    ASSERT_TRUE(runtime::ReadVersionText(panels, text));
    EXPECT_STREQ(text, "9.01.040901.01");
    EXPECT_EQ(std::string(runtime::VersionDigits(), 4), "90.4");  // positions 0, 2, 4, 6
    ASSERT_TRUE(runtime::ReadVersionText(nullptr, nullptr));
    EXPECT_EQ(std::string(runtime::VersionDigits(), 4), "5301");
}

TEST_F(Location, MissingTranslationOrFileVersionLeavesDigitsAndBufferUnchanged) {
    ASSERT_TRUE(runtime::ReadVersionText(nullptr, nullptr));
    HMODULE a = fake::AddModule("A.DLL", "C:\\A.DLL");
    HMODULE b = fake::AddModule("B.DLL", "C:\\B.DLL");
    HMODULE c = fake::AddModule("C.DLL", "C:\\C.DLL");
    fake::SetVersionResource("C:\\A.DLL", {"9.01", /*has_translation=*/false});
    fake::SetVersionResource("C:\\B.DLL", {std::nullopt});
    char text[260] = "untouched";
    EXPECT_FALSE(runtime::ReadVersionText(a, text));
    EXPECT_FALSE(runtime::ReadVersionText(b, text));
    EXPECT_FALSE(runtime::ReadVersionText(c, text));  // no version resource at all
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ(runtime::PackedVersion(), 0x05030001u);
}

TEST_F(Location, ShortVersionTextsNeverReadPastTheirEnd) {
    HMODULE m = fake::AddModule("S.DLL", "C:\\S.DLL");
    fake::SetVersionResource("C:\\S.DLL", {"7"});
    ASSERT_TRUE(runtime::ReadVersionText(m, nullptr));
    EXPECT_EQ(runtime::VersionDigits()[0], '7');
    EXPECT_EQ(runtime::VersionDigits()[1], '\0');
    EXPECT_EQ(runtime::VersionDigits()[3], '\0');
}

TEST_F(Location, AShortVersionTextKeepsTheBoxMessage) {
    fake::SetVersionResource("MdnSrv.dll", {"5.3"});
    runtime::ShowInformationBox("Database updated");
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    EXPECT_EQ(fake::MessageBoxes()[0].text,
              "Meridane Service Module Ver. 5.3.?.?\n\nDatabase updated\n");
}

TEST_F(Location, BoxTextsAreCutAt259Characters) {
    char text[260];
    runtime::ComposeBoxText(text, sizeof text, std::string(1000, 'x').c_str());
    EXPECT_EQ(std::strlen(text), 259u);
    runtime::ShowInformationBox(std::string(500, 'y').c_str());
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    EXPECT_EQ(fake::MessageBoxes()[0].text.size(), 259u);
    EXPECT_EQ(fake::MessageBoxes()[0].caption, "Meridane: Information");
    EXPECT_EQ(fake::MessageBoxes()[0].flags, 0x42000u);
}

}  // namespace
