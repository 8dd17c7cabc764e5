// The diagnostic log's file: where it lives, line format, escaping, rotation, and staying safe
// when the file cannot be written.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform/fake.h"
#include "runtime/diag_log.h"
#include "runtime/escape_text.h"

namespace {

constexpr char kSettings[] = "C:\\FS9\\Meridane\\Common\\Settings";
constexpr char kLocal[] = "C:\\Users\\user\\AppData\\Local";
constexpr char kLog[] = "C:\\Users\\user\\AppData\\Local\\Meridane\\MdnSrv.log";
constexpr char kSettingsLog[] = "C:\\FS9\\Meridane\\Common\\Settings\\MdnSrv.log";

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
    static std::string Escaped(const char* path) {
        std::string out;
        for (const char* c = path; *c; ++c)
            out += *c == '\\' ? std::string("\\\\") : std::string(1, *c);
        return out;
    }
};

TEST_F(DiagnosticLog, LinesAreTimeStampedAndTextsFromOutsideAreQuotedCutAndEscaped) {
    fake::SetTime(61'234);
    ASSERT_TRUE(runtime::StartLog(1, kSettings));
    EXPECT_STREQ(runtime::LogPath(), kLog);
    MDN_LOG("name %s", runtime::LogText("A\"b\\\n\x01\xE9").c_str());
    MDN_LOG("same? %s %s", runtime::LogText("a\\x22b").c_str(), runtime::LogText("a\"b").c_str());
    MDN_LOG("none %s", runtime::LogText(nullptr).c_str());
    const std::string long_text(10'000, 'x');
    MDN_LOG("cut %s", runtime::LogText(long_text.c_str(), 4).c_str());
    MDN_LOG("%s", long_text.c_str());
    MDN_LOG("line\r\nbreak");
    const std::string stamp = "2024-03-05 10:01:01.234  ";
    EXPECT_EQ(Text(kLog),
              stamp + "log opened at level 1 in \"C:\\\\Users\\\\user\\\\AppData\\\\Local\\\\" +
                  "Meridane\\\\MdnSrv.log\"\r\n" + stamp +
                  "name \"A\\x22b\\\\\\x0A\\x01\\xE9\"\r\n" + stamp +
                  "same? \"a\\\\x22b\" \"a\\x22b\"\r\n" + stamp + "none (null)\r\n" + stamp +
                  "cut \"xxxx\"... (cut)\r\n" + stamp +
                  std::string(runtime::kLogLineSize - 25 - 2 - sizeof runtime::kCutMark, 'x') +
                  "... (cut)\r\n" + stamp + "line??break\r\n");
}

// Escapes are never split by a cut, and a fixed field without a terminator is read no further
// than its size.
TEST_F(DiagnosticLog, CutsFallBetweenEscapesAndFieldsAreReadWithinTheirSize) {
    char out[24];
    runtime::EscapeText(out, sizeof out, "ab\x01\x02\x03\x04", SIZE_MAX, SIZE_MAX, true);
    EXPECT_STREQ(out, "\"ab\\x01\\x02\\x03\\x04\"");
    runtime::EscapeText(out, sizeof out, "abcdef\x01\x02\x03\x04", SIZE_MAX, SIZE_MAX, true);
    EXPECT_STREQ(out, "\"abcdef\\x01\"... (cut)");
    const char field[4] = {'N', '1', '\\', '\n'};  // no terminator
    runtime::EscapeText(out, sizeof out, field, sizeof field, SIZE_MAX, false);
    EXPECT_STREQ(out, "N1\\\\\\x0A");
    char line[] = "0123456789 \\x41\\x42\\\\ tail";
    const size_t n = runtime::CutEscaped(line, sizeof line - 1, 25);
    EXPECT_STREQ(line, "0123456789 \\x41... (cut)");
    EXPECT_EQ(n, std::strlen(line));
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
    EXPECT_NE(current.find("log continued in \"" + Escaped(kLog) +
                           "\"; the lines before are in MdnSrv.log.1"),
              std::string::npos)
        << current.substr(0, 300);
}

// The file being written holds the newest lines: a rotation that cannot move it aside keeps
// it, whether the older file is held open by a viewer or read-only.
TEST_F(DiagnosticLog, ARotationThatCannotMoveTheFileAsideNeverLosesTheNewestLines) {
    const std::string older = std::string(kLog) + ".1", spare = std::string(kLog) + ".2";
    ASSERT_TRUE(runtime::StartLog(1, kSettings, 1024));
    fake::WriteFile(older, "held");
    fake::SetFileLocked(older, true);
    for (int i = 0; i < 30; ++i)
        MDN_LOG("first file, line %d", i);
    // The full file went to ".2"; the newest lines are all somewhere.
    const std::string moved = Text(spare.c_str());
    EXPECT_NE(moved.find("first file, line 0\r\n"), std::string::npos) << moved;
    EXPECT_NE(Text(kLog).find("the lines before are in MdnSrv.log.2, as MdnSrv.log.1 could not "
                              "be replaced (error 32)"),
              std::string::npos);
    EXPECT_NE((moved + Text(kLog)).find("first file, line 29\r\n"), std::string::npos);

    fake::SetFileLocked(spare, true);
    for (int i = 0; i < 200 && runtime::LogOn(); ++i)
        MDN_LOG("second file, line %d", i);
    const std::string kept = Text(kLog);
    EXPECT_FALSE(runtime::LogOn());
    EXPECT_NE(kept.find("second file, line 0\r\n"), std::string::npos) << kept;
    EXPECT_NE(kept.find("log stopped: MdnSrv.log is full and could not be renamed to "
                        "MdnSrv.log.1 (error 32) nor to MdnSrv.log.2 (error 32)"),
              std::string::npos)
        << kept;
    EXPECT_EQ(Text(older.c_str()), "held");
}

// A limit smaller than a line: each line starts a new file, and the rotation's own line does
// not rotate again.
TEST_F(DiagnosticLog, ALimitBelowOneLineRotatesOncePerLineWithoutRecursion) {
    ASSERT_TRUE(runtime::StartLog(1, kSettings, 10));
    MDN_LOG("one");
    MDN_LOG("two");
    const std::string current = Text(kLog);
    EXPECT_NE(current.find("log continued in"), std::string::npos) << current;
    EXPECT_NE(current.find("two\r\n"), std::string::npos) << current;
    EXPECT_NE(Text((std::string(kLog) + ".1").c_str()).find("one\r\n"), std::string::npos);
}

// A line half-written on another thread (terminated there, say) holds the rotation for a
// bounded time by the clock, not for a count of sleeps that each last a Windows timer tick.
TEST_F(DiagnosticLog, ALineStuckOnAnotherThreadHoldsRotationForABoundedTime) {
    fake::SetSleepTick(16);
    ASSERT_TRUE(runtime::StartLog(1, kSettings, 300));
    fake::HoldOtherThreadsWrites(true);
    std::thread held([] { MDN_LOG("held"); });
    while (fake::WritesHeld() == 0)
        std::this_thread::yield();
    const std::string text(150, 'r');
    MDN_LOG("%s", text.c_str());
    const unsigned before = fake::SleepCount();
    MDN_LOG("%s", text.c_str());  // over the limit: one rotation
    const unsigned sleeps = fake::SleepCount() - before;
    // It waited for the line, for about 100 ms: each sleep lasts a tick at least, longer on a
    // busy machine, so never more than this many.
    EXPECT_GE(sleeps, 1u);
    EXPECT_LE(sleeps, 100u / 16 + 2);
    EXPECT_NE(Text(kLog).find("log continued"), std::string::npos);
    fake::HoldOtherThreadsWrites(false);
    held.join();
    // The stuck line's handle stays open rather than be closed under its write.
    runtime::StopLog();
    EXPECT_EQ(fake::OpenFileHandleCount(), 1);
    fake::Reset();
}

TEST_F(DiagnosticLog, FallsBackToTheSettingsFolderWhenLocalApplicationDataCannotBeWritten) {
    fake::SetFileLocked(std::string(kLocal) + "\\Meridane", true);
    ASSERT_TRUE(runtime::StartLog(1, kSettings));
    EXPECT_STREQ(runtime::LogPath(), kSettingsLog);
    EXPECT_NE(Text(kSettingsLog)
                  .find("log opened at level 1 in \"" + Escaped(kSettingsLog) +
                        "\", in the settings folder: the user's local application-data folder "
                        "could not be written (error 5)"),
              std::string::npos)
        << Text(kSettingsLog);
}

TEST_F(DiagnosticLog, NowhereToWriteLeavesTheLogOff) {
    fake::SetFileLocked(kSettings, true);
    fake::SetFileLocked(std::string(kLocal) + "\\Meridane", true);
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

}  // namespace
