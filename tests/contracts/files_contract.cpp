// Files: attributes, profile (settings) files, and files written by handle (the diagnostic
// log, appended to and rolled over).
//
// Where the fake differs: with a null section GetPrivateProfileStringA lists the file's section
// names; the fake lists nothing then. The module and mdn-doctor always name the section (a null
// key, which lists a section's keys, is modelled; tests/doctor holds it to the documentation).
#include <algorithm>
#include <string>

#include "contract_check.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "platform/win_errors.h"

namespace {

std::string In(const std::string& name) {
    return contract::Folder() + "\\" + name;
}

const char kSettings[] =
    "[Keys]\r\n"
    "  Name = value with blanks  \r\n"
    "quoted=\"in quotes\"\r\n"
    "equals=a=b\r\n"
    "twice=first\r\n"
    "twice=second\r\n"
    "empty=\r\n"
    "[Other]\r\n"
    "only_here=other\r\n";

// The value read with a buffer of `size`, and what GetPrivateProfileStringA returned.
struct Read {
    std::string text;
    DWORD returned;
};
Read Profile(const std::string& file, const char* section, const char* key,
             const char* fallback = "fallback", DWORD size = 64) {
    char buffer[64];
    std::fill(buffer, buffer + sizeof buffer, '#');
    const DWORD n =
        platform::GetPrivateProfileStringA(section, key, fallback, buffer, size, file.c_str());
    return Read{std::string(buffer), n};
}

TEST(ProfileFiles, ValuesTrimmedUnquotedAndFoundWithoutCase) {
    const std::string file = In("settings.ini");
    contract::WriteTextFile(file, kSettings);
    Read r = Profile(file, "keys", "NAME");
    EXPECT_EQ(r.text, "value with blanks");
    EXPECT_EQ(r.returned, 17u);
    EXPECT_EQ(Profile(file, "Keys", "quoted").text, "in quotes");
    EXPECT_EQ(Profile(file, "Keys", "equals").text, "a=b");
    EXPECT_EQ(Profile(file, "Keys", "twice").text, "first");
    r = Profile(file, "Keys", "empty");
    EXPECT_EQ(r.text, "");
    EXPECT_EQ(r.returned, 0u);
    EXPECT_EQ(Profile(file, "Other", "only_here").text, "other");
    EXPECT_EQ(Profile(file, "Keys", "only_here").text, "fallback") << "a key of another section";
}

TEST(ProfileFiles, FallbackWithoutTrailingBlanksWhenNothingIsFound) {
    const std::string file = In("settings.ini");
    contract::WriteTextFile(file, kSettings);
    Read r = Profile(file, "Keys", "missing", "fall back  ");
    EXPECT_EQ(r.text, "fall back");
    EXPECT_EQ(r.returned, 9u);
    EXPECT_EQ(Profile(file, "Missing", "Name").text, "fallback");
    EXPECT_EQ(Profile(In("absent.ini"), "Keys", "Name").text, "fallback");
    r = Profile(file, "Keys", "missing", nullptr);
    EXPECT_EQ(r.text, "");
    EXPECT_EQ(r.returned, 0u);
}

TEST(ProfileFiles, ValueCutToTheBufferAndTerminated) {
    const std::string file = In("settings.ini");
    contract::WriteTextFile(file, kSettings);
    Read r = Profile(file, "Keys", "Name", "fallback", 6);
    EXPECT_EQ(r.text, "value");
    EXPECT_EQ(r.returned, 5u);
}

TEST(Files, AttributesTellFoldersFromFilesAndMissingPaths) {
    const std::string file = In("plain.txt");
    contract::WriteTextFile(file, "x");
    const DWORD folder_attributes = platform::GetFileAttributesA(contract::Folder().c_str());
    EXPECT_NE(folder_attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(folder_attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    const DWORD file_attributes = platform::GetFileAttributesA(file.c_str());
    EXPECT_NE(file_attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(file_attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(platform::GetFileAttributesA(In("absent.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

HANDLE OpenForAppending(const std::string& path, DWORD disposition) {
    return platform::CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool Write(HANDLE file, const std::string& text) {
    DWORD written = 0;
    return platform::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written,
                               nullptr) &&
           written == text.size();
}

TEST(Files, AppendingHandlesAddAtTheEndAndOpenAlwaysSaysWhetherTheFileWasThere) {
    const std::string path = In("log.txt");
    HANDLE file = OpenForAppending(path, OPEN_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_SUCCESS)) << "a new file";
    EXPECT_TRUE(Write(file, "one\n"));
    EXPECT_TRUE(Write(file, "two\n"));
    EXPECT_EQ(platform::GetFileSize(file, nullptr), 8u);
    EXPECT_TRUE(platform::CloseHandle(file));

    file = OpenForAppending(path, OPEN_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS))
        << "the file was there";
    EXPECT_TRUE(Write(file, "three\n"));
    EXPECT_TRUE(platform::CloseHandle(file));
    std::string content;
    ASSERT_TRUE(contract::ReadTextFile(path, content));
    EXPECT_EQ(content, "one\ntwo\nthree\n");

    file = OpenForAppending(path, CREATE_ALWAYS);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(platform::GetFileSize(file, nullptr), 0u) << "CREATE_ALWAYS empties it";
    EXPECT_TRUE(platform::CloseHandle(file));
}

TEST(Files, OpeningBelowAMissingFolderFailsWithPathNotFound) {
    HANDLE file = OpenForAppending(In("absent\\log.txt"), OPEN_ALWAYS);
    EXPECT_EQ(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(Files, MovingOntoAFileNeedsReplaceExisting) {
    const std::string from = In("new.txt");
    const std::string to = In("old.txt");
    contract::WriteTextFile(from, "new");
    contract::WriteTextFile(to, "old");
    EXPECT_FALSE(platform::MoveFileExA(from.c_str(), to.c_str(), 0));
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(platform::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING));
    std::string content;
    EXPECT_TRUE(contract::ReadTextFile(to, content));
    EXPECT_EQ(content, "new");
    EXPECT_FALSE(contract::ReadTextFile(from, content));
}

TEST(Files, DeletingAndMakingFoldersReportWhatWasThere) {
    const std::string file = In("gone.txt");
    contract::WriteTextFile(file, "x");
    EXPECT_TRUE(platform::DeleteFileA(file.c_str()));
    EXPECT_FALSE(platform::DeleteFileA(file.c_str()));
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    const std::string folder = In("sub");
    EXPECT_TRUE(platform::CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_FALSE(platform::CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(platform::CreateDirectoryA(In("absent\\sub").c_str(), nullptr));
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

}  // namespace
