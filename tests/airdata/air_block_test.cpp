#include <cstring>

#include "airdata/airdata.h"
#include "host/module_entry.h"
#include "platform/win_errors.h"
#include "support/module_fixture.h"

namespace {

using test::FreshModule;

const std::vector<std::string> kMappingCalls = {"CreateFileMappingA", "MapViewOfFile",
                                                "UnmapViewOfFile", "CloseHandle"};

std::string Hex(const void* p) {
    return fake::Format(p);
}

// The module made at load again, with the fake world set up by the test first.
void Reload() {
    host::OnUnload();
    fake::ClearCalls();
    host::OnLoad();
}

TEST_F(FreshModule, LoadMakesTheNamedBlockInThePagingFileAndAReaderSeesItZeroed) {
    ASSERT_NE(airdata::Block(), nullptr);
    EXPECT_EQ(fake::LastMappingError(), static_cast<DWORD>(ERROR_SUCCESS));
    const auto contents = fake::MappingContents(MDN_AIRDATA_NAME);
    ASSERT_TRUE(contents.has_value());
    EXPECT_EQ(*contents, std::vector<uint8_t>(384, 0));
    EXPECT_EQ(std::strlen(MDN_AIRDATA_NAME), 73u);
}

TEST_F(FreshModule, BlockIsMappedWholeWithFullAccess) {
    Reload();
    const auto calls = fake::CallsOf(kMappingCalls);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], std::string("CreateFileMappingA(0xFFFFFFFF, 0x0, 4, 0, 384, \"") +
                            MDN_AIRDATA_NAME + "\")");
    EXPECT_EQ(calls[1].substr(0, calls[1].find(',')).substr(0, 14), "MapViewOfFile(");
    EXPECT_EQ(calls[1].substr(calls[1].find(',')), ", 983071, 0, 0, 384)");
}

TEST_F(FreshModule, ARegionMadeFirstByAReaderIsUsedAsItIs) {
    host::OnUnload();
    uint8_t* reader = fake::OpenMappingAsReader(MDN_AIRDATA_NAME, MDN_AIRDATA_SIZE);
    ASSERT_NE(reader, nullptr);
    std::memset(reader, 0x5A, MDN_AIRDATA_SIZE);
    host::OnLoad();
    EXPECT_EQ(fake::LastMappingError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    ASSERT_EQ(static_cast<void*>(airdata::Block()), reader);
    EXPECT_EQ(*fake::MappingContents(MDN_AIRDATA_NAME), std::vector<uint8_t>(384, 0x5A));
}

TEST_F(FreshModule, UnloadUnmapsThenClosesAndTheRegionGoesWithTheLastHolder) {
    void* view = airdata::Block();
    fake::ClearCalls();
    host::OnUnload();
    const auto calls = fake::CallsOf(kMappingCalls);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], "UnmapViewOfFile(" + Hex(view) + ")");
    EXPECT_EQ(calls[1].substr(0, 12), "CloseHandle(");
    EXPECT_EQ(airdata::Block(), nullptr);
    EXPECT_EQ(fake::OpenMappingHandleCount(), 0);
    EXPECT_EQ(fake::MappedViewCount(), 0);
    EXPECT_FALSE(fake::MappingContents(MDN_AIRDATA_NAME).has_value());
    host::OnLoad();  // for the fixture's own unload
}

TEST_F(FreshModule, AReaderKeepsTheRegionAndItsLastValuesAfterUnload) {
    uint8_t* reader = fake::OpenMappingAsReader(MDN_AIRDATA_NAME, MDN_AIRDATA_SIZE);
    airdata::Block()->timeOfDay = 49530.0;
    host::OnUnload();
    double time_of_day;
    std::memcpy(&time_of_day, reader + 8, sizeof time_of_day);
    EXPECT_EQ(time_of_day, 49530.0);
    host::OnLoad();
}

TEST_F(FreshModule, ABlockThatCannotBeMadeIsAbsentAndHoldsNothing) {
    struct Case {
        const char* what;
        void (*arrange)();
        size_t mapping_calls;
    } cases[] = {
        {"creation fails", [] { fake::Fail("CreateFileMappingA"); }, 1},
        {"mapping fails", [] { fake::Fail("MapViewOfFile"); }, 3},  // handle closed
        {"a reader made a smaller region", [] { fake::OpenMappingAsReader(MDN_AIRDATA_NAME, 128); },
         3},
    };
    for (const Case& c : cases) {
        host::OnUnload();
        fake::Reset();
        c.arrange();
        host::OnLoad();
        EXPECT_EQ(airdata::Block(), nullptr) << c.what;
        EXPECT_EQ(fake::CallsOf(kMappingCalls).size(), c.mapping_calls) << c.what;
        EXPECT_EQ(fake::OpenMappingHandleCount(), 0) << c.what;
        EXPECT_EQ(fake::MappedViewCount(), 0) << c.what;
        airdata::Cycle();  // publishes nothing, writes through no null view
        host::OnUnload();
        EXPECT_EQ(fake::CallsOf(kMappingCalls).size(), c.mapping_calls) << c.what;
        host::OnLoad();
    }
}

}  // namespace
