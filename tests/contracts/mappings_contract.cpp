// Named shared memory backed by the paging file: the air-data block any process can open.
#include <cstdint>
#include <cstring>

#include "contract_check.h"
#include "platform/kernel.h"
#include "platform/win_errors.h"
#include "platform/win_memory.h"

namespace {

constexpr char kName[] = "MdnContractBlock";

HANDLE Create(DWORD size, const char* name = kName, DWORD protect = PAGE_READWRITE) {
    return platform::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, protect, 0, size, name);
}

uint8_t* View(HANDLE mapping, DWORD offset = 0, SIZE_T size = 0) {
    return static_cast<uint8_t*>(
        platform::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, offset, size));
}

TEST(FileMappings, ANameOpensTheSameBytesAndSaysTheyWereThere) {
    HANDLE first = Create(4096);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    uint8_t* a = View(first);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a[0] | a[100] | a[4095], 0) << "a new region is zero-filled";

    HANDLE second = Create(4096);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    uint8_t* b = View(second);
    ASSERT_NE(b, nullptr);
    a[10] = 0x5A;
    EXPECT_EQ(b[10], 0x5A);
    b[4095] = 0xA5;
    EXPECT_EQ(a[4095], 0xA5);

    EXPECT_TRUE(platform::UnmapViewOfFile(a));
    EXPECT_TRUE(platform::CloseHandle(first));
    EXPECT_EQ(b[10], 0x5A) << "the other view and handle keep the region";
    EXPECT_TRUE(platform::UnmapViewOfFile(b));
    EXPECT_TRUE(platform::CloseHandle(second));
}

TEST(FileMappings, TheNameGoesWithTheLastHandleAndAViewKeepsOnlyTheBytes) {
    HANDLE mapping = Create(4096);
    ASSERT_NE(mapping, nullptr);
    uint8_t* view = View(mapping);
    ASSERT_NE(view, nullptr);
    view[0] = 7;
    EXPECT_TRUE(platform::CloseHandle(mapping));
    EXPECT_EQ(view[0], 7);

    // A named object loses its name when its last handle closes: the name makes a new region.
    HANDLE again = Create(4096);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(platform::GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    uint8_t* fresh = View(again);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh[0], 0);
    fresh[0] = 9;
    EXPECT_EQ(view[0], 7) << "the old view still shows the old region";
    EXPECT_TRUE(platform::UnmapViewOfFile(view));
    EXPECT_TRUE(platform::UnmapViewOfFile(fresh));
    EXPECT_TRUE(platform::CloseHandle(again));
}

TEST(FileMappings, TwoViewsOfOneHandleAreUnmappedOneByOne) {
    HANDLE mapping = Create(4096, nullptr);
    ASSERT_NE(mapping, nullptr);
    uint8_t* a = View(mapping);
    uint8_t* b = View(mapping);
    ASSERT_TRUE(a && b);
    a[1] = 3;
    EXPECT_EQ(b[1], 3);
    EXPECT_TRUE(platform::UnmapViewOfFile(a));
    EXPECT_EQ(b[1], 3);
    EXPECT_TRUE(platform::UnmapViewOfFile(b));
    EXPECT_FALSE(platform::UnmapViewOfFile(b)) << "already unmapped";
    EXPECT_TRUE(platform::CloseHandle(mapping));
}

TEST(FileMappings, RefusedRegionsAndViews) {
    EXPECT_EQ(Create(0), nullptr) << "a region of the paging file needs a size";
    HANDLE mapping = Create(4096);
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(View(mapping, 4096), nullptr) << "an offset off the allocation granularity";
    EXPECT_EQ(View(mapping, 0, 2 * 65536), nullptr) << "a view past the region";
    EXPECT_TRUE(platform::CloseHandle(mapping));

    HANDLE read_only = Create(4096, "MdnContractReadOnly", PAGE_READONLY);
    ASSERT_NE(read_only, nullptr);
    EXPECT_EQ(View(read_only), nullptr) << "a writable view of a read-only region";
    EXPECT_TRUE(platform::CloseHandle(read_only));
}

}  // namespace
