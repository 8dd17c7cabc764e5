// The fake platform's answers to the calls mdn-doctor's checks make, held to Windows' documented
// behaviour: a profile section's key list, file attributes and times, opening a named mapping,
// the program's own file name.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win_memory.h"
#include "platform/win_errors.h"
#include "platform/win_files.h"
#include "platform/fake.h"
#include "platform/kernel.h"

namespace {

class FakeForDoctor : public ::testing::Test {
  protected:
    void SetUp() override { fake::Reset(); }
    void TearDown() override { fake::Reset(); }
};

constexpr char kIni[] = "C:\\FS9\\test.ini";

// The list a null key answers, each name followed by '|' instead of its NUL.
std::string KeyList(const char* section, DWORD size, DWORD* returned) {
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    *returned =
        platform::GetPrivateProfileStringA(section, nullptr, "fallback", buffer, size, kIni);
    std::string list;
    for (DWORD i = 0; i < size; ++i)
        list += buffer[i] == '\0' ? '|' : buffer[i];
    return list;
}

TEST_F(FakeForDoctor, NullKeyListsTheSectionsKeyNamesEachEndedByNul) {
    fake::WriteFile(kIni,
                    "[Keys]\r\n  First = 1\r\n; Hidden=2\r\nsecond=\r\nbare line\r\n[other]\r\n"
                    "Third=3\r\n");
    DWORD n = 0;
    // The answer counts every name's NUL but the list's last one.
    EXPECT_EQ(KeyList("keys", 32, &n), "First|second|bare line||xxxxxxxx");
    EXPECT_EQ(n, 23u);
    // Cut: the last name that starts is cut and followed by two NULs; the answer is size - 2.
    EXPECT_EQ(KeyList("keys", 10, &n), "First|se||");
    EXPECT_EQ(n, 8u);
    // No such section, or no such file: an empty list, not the fallback.
    EXPECT_EQ(KeyList("none", 4, &n).substr(0, 1), "|");
    EXPECT_EQ(n, 0u);
    fake::Reset();
    EXPECT_EQ(KeyList("keys", 4, &n).substr(0, 1), "|");
    EXPECT_EQ(n, 0u);
}

TEST_F(FakeForDoctor, FileAttributesCarrySizeAndLastWriteTime) {
    fake::WriteFile("C:\\Logs\\a.log", std::string(70000, 'x'));
    SYSTEMTIME at{};
    at.wYear = 2024;
    at.wMonth = 2;
    at.wDay = 29;
    at.wHour = 13;
    at.wMinute = 7;
    at.wSecond = 9;
    at.wMilliseconds = 250;
    fake::SetLastWriteTime("C:\\Logs\\a.log", at);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(platform::GetFileAttributesExA("C:\\Logs\\a.log", GetFileExInfoStandard, &data));
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_EQ(data.nFileSizeLow, 70000u);
    SYSTEMTIME back{};
    ASSERT_TRUE(platform::FileTimeToSystemTime(&data.ftLastWriteTime, &back));
    EXPECT_EQ(back.wYear, 2024);
    EXPECT_EQ(back.wMonth, 2);
    EXPECT_EQ(back.wDay, 29);
    EXPECT_EQ(back.wDayOfWeek, 4) << "29 February 2024 was a Thursday";
    EXPECT_EQ(back.wHour, 13);
    EXPECT_EQ(back.wMinute, 7);
    EXPECT_EQ(back.wSecond, 9);
    EXPECT_EQ(back.wMilliseconds, 250);

    ASSERT_TRUE(platform::GetFileAttributesExA("C:\\Logs", GetFileExInfoStandard, &data));
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(data.nFileSizeLow, 0u);

    EXPECT_FALSE(platform::GetFileAttributesExA("C:\\Logs\\b.log", GetFileExInfoStandard, &data));
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(platform::GetFileAttributesExA("C:\\None\\b.log", GetFileExInfoStandard, &data));
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(platform::GetFileAttributesExA("C:\\Logs\\a.log", GetFileExMaxInfoLevel, &data));
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(FakeForDoctor, FileTimesConvertAcrossTheCalendarAndTheTimeZone) {
    struct Case {
        unsigned long long ticks;
        WORD year, month, day, day_of_week, hour;
    } const cases[] = {
        {0, 1601, 1, 1, 1, 0},                        // the epoch, a Monday
        {116444736000000000ull, 1970, 1, 1, 4, 0},    // the Unix epoch, a Thursday
        {125911584000000000ull, 2000, 1, 1, 6, 0},    // a Saturday
        {125963424000000000ull, 2000, 3, 1, 3, 0},    // after the leap day of a 400th year
        {0x7FFFFFFFFFFFFFFFull, 30828, 9, 14, 4, 2},  // the last time Windows converts
    };
    for (const Case& c : cases) {
        const FILETIME t{static_cast<DWORD>(c.ticks), static_cast<DWORD>(c.ticks >> 32)};
        SYSTEMTIME s{};
        ASSERT_TRUE(platform::FileTimeToSystemTime(&t, &s)) << c.ticks;
        EXPECT_EQ(s.wYear, c.year) << c.ticks;
        EXPECT_EQ(s.wMonth, c.month) << c.ticks;
        EXPECT_EQ(s.wDay, c.day) << c.ticks;
        EXPECT_EQ(s.wDayOfWeek, c.day_of_week) << c.ticks;
        EXPECT_EQ(s.wHour, c.hour) << c.ticks;
    }
    const FILETIME too_late{0, 0x80000000u};
    SYSTEMTIME s{};
    EXPECT_FALSE(platform::FileTimeToSystemTime(&too_late, &s));

    // Local = UTC - bias: New York's standard time is five hours behind.
    const FILETIME noon{static_cast<DWORD>(116444736000000000ull + 12ull * 36000000000ull),
                        static_cast<DWORD>((116444736000000000ull + 12ull * 36000000000ull) >> 32)};
    FILETIME local{};
    ASSERT_TRUE(platform::FileTimeToLocalFileTime(&noon, &local));
    EXPECT_EQ(local.dwLowDateTime, noon.dwLowDateTime) << "no bias unless a test sets one";
    fake::SetTimeZoneBias(300);
    ASSERT_TRUE(platform::FileTimeToLocalFileTime(&noon, &local));
    ASSERT_TRUE(platform::FileTimeToSystemTime(&local, &s));
    EXPECT_EQ(s.wHour, 7);
    const FILETIME epoch{0, 0};
    EXPECT_FALSE(platform::FileTimeToLocalFileTime(&epoch, &local)) << "before 1601";
}

TEST_F(FakeForDoctor, OpenFileMappingFindsOnlyARegionSomeoneMade) {
    EXPECT_EQ(platform::OpenFileMappingA(FILE_MAP_READ, FALSE, "Block"), nullptr);
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    uint8_t* bytes = fake::OpenMappingAsReader("Block", 64);
    bytes[5] = 42;
    EXPECT_EQ(platform::OpenFileMappingA(FILE_MAP_READ, FALSE, "block"), nullptr)
        << "kernel object names are case-sensitive";
    HANDLE mapping = platform::OpenFileMappingA(FILE_MAP_READ, FALSE, "Block");
    ASSERT_NE(mapping, nullptr);
    const auto* view =
        static_cast<const uint8_t*>(platform::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view[5], 42);
    EXPECT_TRUE(platform::UnmapViewOfFile(view));
    EXPECT_TRUE(platform::CloseHandle(mapping));
    EXPECT_EQ(fake::OpenMappingHandleCount(), 0);
    // The opener's handle keeps the region alive after its maker lets go.
    mapping = platform::OpenFileMappingA(FILE_MAP_READ, FALSE, "Block");
    fake::CloseMappingAsReader("Block");
    EXPECT_TRUE(fake::MappingContents("Block").has_value());
    platform::CloseHandle(mapping);
    EXPECT_FALSE(fake::MappingContents("Block").has_value());
}

TEST_F(FakeForDoctor, ModuleFileNameOfNullIsTheProgramsOwn) {
    char path[MAX_PATH];
    EXPECT_EQ(platform::GetModuleFileNameA(nullptr, path, sizeof path), 30u);
    EXPECT_STREQ(path, "C:\\Program Files\\Test\\test.exe");
    fake::SetProgramPath("D:\\Tools\\mdn-doctor.exe");
    EXPECT_EQ(platform::GetModuleFileNameA(platform::GetModuleHandleA(nullptr), path, 9), 8u);
    EXPECT_STREQ(path, "D:\\Tools") << "cut, and ended within the buffer";
    EXPECT_EQ(platform::GetModuleFileNameA(reinterpret_cast<HMODULE>(0x12340000), path, 9), 0u);
}

}  // namespace
