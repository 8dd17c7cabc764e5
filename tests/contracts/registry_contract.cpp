// The registry below HKEY_LOCAL_MACHINE: where the module finds, and remembers, the
// simulator's folder.
#include <cstring>
#include <string>

#include "contract_check.h"
#include "platform/registry.h"
#include "platform/win_errors.h"

namespace {

const std::string kKey = contract::kTestKey;

HKEY Create(const std::string& path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    const LSTATUS status = platform::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr,
                                                     REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                                     nullptr, &key, disposition);
    return status == ERROR_SUCCESS ? key : nullptr;
}

LSTATUS Set(HKEY key, const char* name, const char* bytes, DWORD size) {
    return platform::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes),
                                    size);
}

TEST(Registry, CreatingSaysWhetherTheKeyWasThereAndOpeningFindsItWithoutCase) {
    DWORD disposition = 0;
    HKEY key = Create(kKey + "\\Folder", &disposition);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(disposition, 1u) << "REG_CREATED_NEW_KEY";
    EXPECT_EQ(platform::RegCloseKey(key), ERROR_SUCCESS);
    key = Create(kKey + "\\Folder", &disposition);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(disposition, 2u) << "REG_OPENED_EXISTING_KEY";
    EXPECT_EQ(platform::RegCloseKey(key), ERROR_SUCCESS);

    HKEY opened = nullptr;
    EXPECT_EQ(platform::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kKey + "\\FOLDER").c_str(), 0, KEY_READ,
                                      &opened),
              ERROR_SUCCESS);
    EXPECT_NE(opened, nullptr);
    EXPECT_EQ(platform::RegCloseKey(opened), ERROR_SUCCESS);

    opened = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(platform::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kKey + "\\Absent").c_str(), 0, KEY_READ,
                                      &opened),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(opened, nullptr) << "a failed open leaves no handle";
}

TEST(Registry, ValuesComeBackAsStoredWithTheirSize) {
    HKEY key = Create(kKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(Set(key, "Path", "C:\\Sim", 7), ERROR_SUCCESS);  // with its NUL
    // Without one. The byte after the counted ones is not NUL: Windows counts a NUL that
    // follows right after a REG_SZ's bytes as stored with it.
    EXPECT_EQ(Set(key, "Bare", "abcd", 3), ERROR_SUCCESS);

    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(platform::RegQueryValueExA(key, "path", nullptr, &type, nullptr, &size),
              ERROR_SUCCESS)
        << "value names compare without case";
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 7u);

    char data[16];
    std::memset(data, '#', sizeof data);
    size = sizeof data;
    EXPECT_EQ(platform::RegQueryValueExA(key, "Path", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(data), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 7u);
    EXPECT_STREQ(data, "C:\\Sim");

    std::memset(data, '#', sizeof data);
    size = sizeof data;
    EXPECT_EQ(platform::RegQueryValueExA(key, "Bare", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(data), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(size, 3u) << "no NUL is added to what was stored without one";
    EXPECT_EQ(std::string(data, 3), "abc");

    size = 0;
    EXPECT_EQ(platform::RegQueryValueExA(key, "Absent", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(platform::RegCloseKey(key), ERROR_SUCCESS);
}

TEST(Registry, ATooSmallBufferGetsMoreDataAndTheSizeNeeded) {
    HKEY key = Create(kKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(Set(key, "Path", "C:\\Simulator", 13), ERROR_SUCCESS);
    char data[4];
    DWORD size = sizeof data;
    EXPECT_EQ(platform::RegQueryValueExA(key, "Path", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(data), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 13u);
    // Windows documents the buffer's content as undefined here: nothing is checked of it.
    EXPECT_EQ(platform::RegCloseKey(key), ERROR_SUCCESS);
}

TEST(Registry, AValueStoredTwiceKeepsTheLast) {
    HKEY key = Create(kKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(Set(key, "Path", "first", 6), ERROR_SUCCESS);
    EXPECT_EQ(Set(key, "PATH", "2nd", 4), ERROR_SUCCESS);
    char data[16] = "";
    DWORD size = sizeof data;
    EXPECT_EQ(platform::RegQueryValueExA(key, "path", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(data), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(data, "2nd");
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(platform::RegCloseKey(key), ERROR_SUCCESS);
}

// What is stored keeps its type; a key handle once closed is no key.
TEST(Registry, AValueKeepsItsTypeAndAClosedKeyIsAnInvalidHandle) {
    HKEY key = Create(kKey);
    ASSERT_NE(key, nullptr);
    const DWORD word = 0x12345678;
    EXPECT_EQ(platform::RegSetValueExA(key, "Word", 0, REG_DWORD,
                                       reinterpret_cast<const BYTE*>(&word), sizeof word),
              ERROR_SUCCESS);
    DWORD type = 0, got = 0, size = sizeof got;
    EXPECT_EQ(platform::RegQueryValueExA(key, "Word", nullptr, &type, reinterpret_cast<BYTE*>(&got),
                                         &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(got, word);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(platform::RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(platform::RegCloseKey(key), ERROR_INVALID_HANDLE);
}

}  // namespace
