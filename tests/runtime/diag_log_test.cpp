// The diagnostic log's file: line format, rotation, the fallback folder, and staying safe when
// the file cannot be written.
#include <gtest/gtest.h>

#include <string>

#include "platform/fake.h"
#include "runtime/diag_log.h"
#include "runtime/text_escape.h"

namespace {

constexpr char kSettings[] = "C:\\FS9\\Meridane\\Common\\Settings";
constexpr char kLog[] = "C:\\FS9\\Meridane\\Common\\Settings\\MdnSrv.log";
constexpr char kFallbackLog[] = "C:\\Users\\user\\AppData\\Local\\Meridane\\MdnSrv.log";

class DiagnosticLog : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::Reset();
        fake::MakeDirectory(kSettings);
    }
    void TearDown() override {
        runtime::StopLog();
        EXPECT_EQ(fake::OpenFileHandleCount(), 0);
        fake::Reset();
    }
    static std::string Text(const char* path) { return fake::ReadFile(path).value_or("(none)"); }
};

TEST_F(DiagnosticLog, LinesAreTimeStampedAndTextsFromOutsideAreQuotedCutAndEscaped) {
    fake::SetTime(61'234);
    ASSERT_TRUE(runtime::StartLog(1, kSettings));
    EXPECT_STREQ(runtime::LogPath(), kLog);
    MDN_LOG("name %s", runtime::LogText("A\"b\\\n\x01\xE9").c_str());
    MDN_LOG("none %s", runtime::LogText(nullptr).c_str());
    const std::string long_text(10'000, 'x');
    MDN_LOG("cut %s", runtime::LogText(long_text.c_str(), 4).c_str());
    MDN_LOG("%s", long_text.c_str());
    MDN_LOG("line\r\nbreak");
    EXPECT_EQ(Text(kLog),
              "2024-03-05 10:01:01.234  log opened at level 1\r\n"
              "2024-03-05 10:01:01.234  name \"A\\x22b\\\\x0A\\x01\\xE9\"\r\n"
              "2024-03-05 10:01:01.234  none (null)\r\n"
              "2024-03-05 10:01:01.234  cut \"xxxx\"... (cut)\r\n"
              "2024-03-05 10:01:01.234  " +
                  std::string(runtime::kLogLineSize - 25 - 2 - 1 - 3, 'x') +
                  "...\r\n"
                  "2024-03-05 10:01:01.234  line??break\r\n");
}

TEST_F(DiagnosticLog, OffWritesNothingAndEvaluatesNoArgument) {
    EXPECT_FALSE(runtime::StartLog(0, kSettings));
    int evaluated = 0;
    MDN_LOG("%d", ++evaluated);
    EXPECT_EQ(evaluated, 0);
    EXPECT_FALSE(fake::ReadFile(kLog).has_value());
    EXPECT_STREQ(runtime::LogPath(), "");
    ASSERT_TRUE(runtime::StartLog(1, kSettings));
    MDN_LOG_CALLS("%d", ++evaluated);  // level 2 only
    EXPECT_EQ(evaluated, 0);
}

TEST_F(DiagnosticLog, RotatesOnceFullKeepingOneOlderFile) {
    ASSERT_TRUE(runtime::StartLog(2, kSettings));
    const std::string text(200, 'y');
    for (int i = 0; i < 2 * 11'000; ++i)  // about two files' worth
        MDN_LOG("%s", text.c_str());
    const std::string current = Text(kLog);
    const std::string older = Text((std::string(kLog) + ".1").c_str());
    EXPECT_LE(current.size(), runtime::kLogLimit);
    EXPECT_LE(older.size(), runtime::kLogLimit);
    EXPECT_GT(older.size(), runtime::kLogLimit - 300);
    EXPECT_NE(current.find("log continued; the lines before are in MdnSrv.log.1"),
              std::string::npos);
}

TEST_F(DiagnosticLog, AnOlderFileHeldByAnotherProgramMeansStartingAfreshNotGrowing) {
    ASSERT_TRUE(runtime::StartLog(1, kSettings));
    fake::WriteFile(std::string(kLog) + ".1", "held");
    fake::SetFileLocked(std::string(kLog) + ".1", true);
    const std::string text(200, 'z');
    for (int i = 0; i < 11'000; ++i)
        MDN_LOG("%s", text.c_str());
    const std::string current = Text(kLog);
    EXPECT_LE(current.size(), runtime::kLogLimit);
    EXPECT_NE(current.find("log started afresh: MdnSrv.log could not be renamed to "
                           "MdnSrv.log.1 (error 32)"),
              std::string::npos);
}

TEST_F(DiagnosticLog, FallsBackToLocalApplicationDataWhenTheSettingsFolderCannotBeWritten) {
    struct Case {
        const char* locked;
        const char* error;
    } cases[] = {{kSettings, "error 5"}, {kLog, "error 32"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locked);
        fake::Reset();
        fake::MakeDirectory(kSettings);
        fake::SetFileLocked(c.locked, true);
        ASSERT_TRUE(runtime::StartLog(1, kSettings));
        EXPECT_STREQ(runtime::LogPath(), kFallbackLog);
        EXPECT_NE(Text(kFallbackLog)
                      .find("in the fallback folder: MdnSrv.log in the settings "
                            "folder could not be written (" +
                            std::string(c.error) + ")"),
                  std::string::npos);
        runtime::StopLog();
    }
}

TEST_F(DiagnosticLog, NowhereToWriteLeavesTheLogOff) {
    fake::SetFileLocked(kSettings, true);
    fake::SetLocalAppDataFolder(std::nullopt);
    EXPECT_FALSE(runtime::StartLog(1, kSettings));
    EXPECT_FALSE(runtime::LogOn());
    MDN_LOG("dropped");
}

TEST_F(DiagnosticLog, AFullDiskDropsLinesAndTheLogGoesOnWhenThereIsRoomAgain) {
    ASSERT_TRUE(runtime::StartLog(1, kSettings));
    fake::SetDiskFull(true);
    MDN_LOG("lost");
    fake::SetDiskFull(false);
    MDN_LOG("kept");
    const std::string text = Text(kLog);
    EXPECT_EQ(text.find("lost"), std::string::npos);
    EXPECT_NE(text.find("kept"), std::string::npos);
}

// The one escaping of outside texts in the module's files: distinct texts stay distinct, and a
// cut is marked and never splits an escape.
TEST(TextEscape, EscapesAreUnambiguousAndACutIsMarkedBetweenEscapes) {
    const auto escape = [](std::string_view text, size_t size) {
        std::string out(size + 8, '#');
        const bool whole = runtime::EscapeText(text, out.data(), size);
        EXPECT_EQ(out.substr(size), std::string(8, '#')) << "written past " << size;
        return std::make_pair(std::string(out.c_str()), whole);
    };
    using Result = std::pair<std::string, bool>;
    EXPECT_EQ(escape("a\\x22b", 64), Result("a\\\\x22b", true));
    EXPECT_EQ(escape("a\"b", 64), Result("a\\\"b", true));
    EXPECT_EQ(escape(std::string_view("\0\x1F\x7F\xFF ~", 6), 64),
              Result("\\x00\\x1F\\x7F\\xFF ~", true));
    EXPECT_EQ(escape("abc", runtime::EscapedSize(3)), Result("abc", true));
    EXPECT_EQ(escape("\xFF\xFF", runtime::EscapedSize(2)), Result("\\xFF\\xFF", true));
    // Cut: room for "...", and an escape is left out whole rather than split.
    EXPECT_EQ(escape("abcdefgh", 8), Result("abcd...", false));
    EXPECT_EQ(escape("ab\xFF"
                     "cdef",
                     8),
              Result("ab...", false));
    EXPECT_EQ(escape("abcdefgh", 4), Result("...", false));
    EXPECT_EQ(escape("abcdefgh", 2), Result(".", false));
}

}  // namespace
