// ServiceQuery and ServiceControl ids that reach the device registry, the shared flags and
// records, the aircraft information words, the global record and the version digits.
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

#include "navigation/navigation.h"
#include "queries/id_table.h"
#include "queries/queries.h"
#include "service/exports.h"
#include "support/module_fixture.h"
#include "runtime/address_word.h"

namespace {

using queries::ServiceControl;
using queries::ServiceQuery;
using test::AttachedModule;

uint32_t AddressOf(const void* p) {
    return runtime::AddressWord(p);
}

using QueryInput = AttachedModule;

TEST_F(QueryInput, NullOutputAnswersZeroForEveryId) {
    for (const auto& query : queries::QueryTable())
        EXPECT_EQ(ServiceQuery(query.id, nullptr), 0u) << query.name;
    EXPECT_EQ(ServiceQuery(12345, nullptr), 0u);
}

TEST_F(QueryInput, UnknownIdsAnswerZeroAndTouchNothing) {
    for (int32_t id :
         {0, 1, 12, 21, 799, 802, 999, 1003, 1099, 1105, 1499, 1501, 65534, 65536, -1, -65535}) {
        uint32_t out[4] = {0xA5A5A5A5u, 0xA5A5A5A5u, 0xA5A5A5A5u, 0xA5A5A5A5u};
        EXPECT_EQ(ServiceQuery(id, out), 0u) << id;
        for (uint32_t w : out)
            EXPECT_EQ(w, 0xA5A5A5A5u) << id;
    }
    for (uint32_t id : {0u, 65545u, 65547u, 65579u, 65635u, 65638u, 66535u, 66537u}) {
        uint32_t in = 1;
        EXPECT_EQ(ServiceControl(id, &in), 0u) << id;
    }
    EXPECT_TRUE(fake::MessageBoxes().empty());
}

using QueryVersion = AttachedModule;

TEST_F(QueryVersion, PacksTheFourVersionDigits) {
    uint32_t out = 0;
    EXPECT_EQ(ServiceQuery(MDN_QUERY_VERSION, &out), 1u);
    EXPECT_EQ(out, 0x05030001u);
}

using QueryVorPassThrough = AttachedModule;

TEST_F(QueryVorPassThrough, OnlyTheWordOneSetsTheFlag) {
    uint32_t out = 7;
    ASSERT_EQ(ServiceQuery(MDN_QUERY_VOR_PASS_THROUGH, &out), 1u);
    EXPECT_EQ(out, 0u);
    const struct {
        uint32_t in;
        uint32_t flag;
    } cases[] = {{1, 1}, {0, 0}, {1, 1}, {2, 0}, {1, 1}, {0xFFFFFFFFu, 0}, {0x10001u, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ServiceControl(MDN_CONTROL_SET_VOR_PASS_THROUGH, &c.in), 1u);
        ServiceQuery(MDN_QUERY_VOR_PASS_THROUGH, &out);
        EXPECT_EQ(out, c.flag) << "input " << c.in;
        EXPECT_EQ(navigation::VorPassThrough(), c.flag == 1);
    }
}

TEST_F(QueryVorPassThrough, ANullInputIsRefusedAndKeepsTheFlag) {
    const uint32_t on = 1;
    ServiceControl(MDN_CONTROL_SET_VOR_PASS_THROUGH, &on);
    EXPECT_EQ(ServiceControl(MDN_CONTROL_SET_VOR_PASS_THROUGH, nullptr), 0u);
    EXPECT_TRUE(navigation::VorPassThrough());
}

using QueryGpsInfo = AttachedModule;

TEST_F(QueryGpsInfo, AddressIsAlwaysGivenByQuery800) {
    uint32_t out = 0;
    EXPECT_EQ(ServiceQuery(MDN_QUERY_GPS_INFO, &out), 1u);
    EXPECT_EQ(out, AddressOf(navigation::GpsInfoRecord()));
}

TEST_F(QueryGpsInfo, Query801AnswersOnlyWhileSomeoneCountsAsAUser) {
    const uint32_t record = AddressOf(navigation::GpsInfoRecord());
    uint32_t out = 0xFFFFFFFFu;
    ServiceQuery(MDN_QUERY_GPS_INFO_IF_USED, &out);
    EXPECT_EQ(out, 0u);

    EXPECT_EQ(ServiceControl(MDN_CONTROL_GPS_INFO_USER_ADD, nullptr), 1u);
    ServiceQuery(MDN_QUERY_GPS_INFO_IF_USED, &out);
    EXPECT_EQ(out, record);
    ServiceControl(MDN_CONTROL_GPS_INFO_USER_ADD, nullptr);
    EXPECT_EQ(navigation::GpsInfoUserCount(), 2);

    ServiceControl(MDN_CONTROL_GPS_INFO_USER_REMOVE, nullptr);
    ServiceQuery(MDN_QUERY_GPS_INFO_IF_USED, &out);
    EXPECT_EQ(out, record);
    EXPECT_EQ(ServiceControl(MDN_CONTROL_GPS_INFO_USER_REMOVE, nullptr), 1u);
    ServiceQuery(MDN_QUERY_GPS_INFO_IF_USED, &out);
    EXPECT_EQ(out, 0u);

    // One removal too many leaves the count at 0: the next user counts at once.
    ServiceControl(MDN_CONTROL_GPS_INFO_USER_REMOVE, nullptr);
    EXPECT_EQ(navigation::GpsInfoUserCount(), 0);
    ServiceControl(MDN_CONTROL_GPS_INFO_USER_ADD, nullptr);
    ServiceQuery(MDN_QUERY_GPS_INFO_IF_USED, &out);
    EXPECT_EQ(out, record);
}

void MDN_STDCALL GaugeDeviceActivated() {}

using QueryActiveDevice = AttachedModule;

TEST_F(QueryActiveDevice, NamesFollowTheActiveDeviceThroughCycling) {
    char text[64];
    std::memset(text, 'x', sizeof text);
    ASSERT_EQ(ServiceQuery(MDN_QUERY_ACTIVE_DEVICE_LONG_NAME, text), 1u);
    EXPECT_STREQ(text, "Flight Simulator GPS");
    ASSERT_EQ(ServiceQuery(MDN_QUERY_ACTIVE_DEVICE_SHORT_NAME, text), 1u);
    EXPECT_STREQ(text, "GPS");

    const uint32_t gauge =
        navigation::RegisterNavDevice(&GaugeDeviceActivated, "Meridane GPS 500", "MGPS");
    ASSERT_NE(gauge, 0u);
    EXPECT_EQ(ServiceControl(MDN_CONTROL_CYCLE_NAV_DEVICE, nullptr), 1u);
    EXPECT_EQ(navigation::IsNavDeviceActive(gauge), 1u);
    ServiceQuery(MDN_QUERY_ACTIVE_DEVICE_LONG_NAME, text);
    EXPECT_STREQ(text, "Meridane GPS 500");
    ServiceQuery(MDN_QUERY_ACTIVE_DEVICE_SHORT_NAME, text);
    EXPECT_STREQ(text, "MGPS");
    navigation::UnregisterNavDevice(gauge);
}

TEST_F(QueryActiveDevice, TheLongestNameFillsTheBufferAndNoMore) {
    const std::string longest(MDN_NAME_SIZE - 1, 'N');
    const uint32_t gauge =
        navigation::RegisterNavDevice(&GaugeDeviceActivated, longest.c_str(), longest.c_str());
    ASSERT_EQ(navigation::SelectNavDevice(gauge, nullptr, nullptr), 1u);
    for (int32_t id : {MDN_QUERY_ACTIVE_DEVICE_LONG_NAME, MDN_QUERY_ACTIVE_DEVICE_SHORT_NAME}) {
        char text[MDN_NAME_SIZE + 8];
        std::memset(text, '#', sizeof text);
        ASSERT_EQ(ServiceQuery(id, text), 1u);
        EXPECT_EQ(std::string(text), longest) << id;
        EXPECT_EQ(std::string(text + MDN_NAME_SIZE, 8), std::string(8, '#')) << id;
    }
    navigation::UnregisterNavDevice(gauge);
}

using QueryInformationBox = AttachedModule;

TEST_F(QueryInformationBox, ShowsTheCallersTextInTheModulesBox) {
    EXPECT_EQ(ServiceControl(MDN_CONTROL_SHOW_INFORMATION, "Database updated"), 1u);
    const auto boxes = fake::MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Meridane Service Module Ver. 5.3.0.1\n\nDatabase updated\n");
    EXPECT_EQ(boxes[0].caption, "Meridane: Information");
    EXPECT_EQ(boxes[0].owner, window_);
}

TEST_F(QueryInformationBox, NoTextNoBox) {
    EXPECT_EQ(ServiceControl(MDN_CONTROL_SHOW_INFORMATION, nullptr), 0u);
    EXPECT_TRUE(fake::MessageBoxes().empty());
}

using QueryAutopilotData = AttachedModule;

TEST_F(QueryAutopilotData, ANullValueIsRefused) {
    const double value = 12.5;
    EXPECT_EQ(ServiceControl(MDN_CONTROL_AUTOPILOT_DATA, &value), 1u);
    EXPECT_EQ(ServiceControl(MDN_CONTROL_AUTOPILOT_DATA, nullptr), 0u);
}

// The simulator's side of queries 1000 to 1002 and 1500: a code probe whose bytes 11 and 24
// hold the two aircraft information words, the objects behind them, the global record.
class QueryAircraft : public AttachedModule {
  protected:
    void SetUp() override {
        AttachedModule::SetUp();
        uint32_t value_holder = AddressOf(&aircraft_value_);
        uint32_t object_holder = AddressOf(&object_address_);
        std::memcpy(code_ + 11, &value_holder, 4);
        std::memcpy(code_ + 24, &object_holder, 4);
        panels_[8] = code_;
        ImportTable[0].table = panels_;
        navigation::ReadPanelsAddresses();
        object_address_ = AddressOf(object_);
    }
    void SetText(const std::string& text) {
        std::memset(object_, 0, sizeof object_);
        std::memcpy(object_ + 436, text.c_str(), text.size() + 1);
    }
    std::string Query(int32_t id) {
        uint32_t address = 0;
        EXPECT_EQ(ServiceQuery(id, &address), 1u);
        return reinterpret_cast<const char*>(static_cast<uintptr_t>(address));
    }
    uint8_t code_[32] = {};
    void* panels_[80] = {};
    uint32_t aircraft_value_ = 0x1234ABCDu;
    uint32_t object_address_ = 0;
    char object_[436 + 600] = {};
};

TEST_F(QueryAircraft, ValueIsReadThroughTheFirstWord) {
    uint32_t out = 0;
    EXPECT_EQ(ServiceQuery(MDN_QUERY_AIRCRAFT_VALUE, &out), 1u);
    EXPECT_EQ(out, 0x1234ABCDu);
}

TEST_F(QueryAircraft, PathGetsTheSuffixAndFolderKeepsItsBackslash) {
    SetText("SimObjects\\Airplanes\\Meridane 42\\Meridane42");
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_CFG_PATH),
              "SimObjects\\Airplanes\\Meridane 42\\Meridane42.CFG");
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_FOLDER), "SimObjects\\Airplanes\\Meridane 42\\");
    SetText("Aircraft\\Trainer\\trainer");
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_FOLDER), "Aircraft\\Trainer\\");
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_CFG_PATH), "Aircraft\\Trainer\\trainer.CFG");
}

TEST_F(QueryAircraft, FolderOfATextWithoutBackslashKeepsTheFirstCharacter) {
    SetText("trainer");
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_FOLDER), "t");
    SetText("\\trainer");  // the first character is never examined
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_FOLDER), "\\");
}

TEST_F(QueryAircraft, EmptyTextGivesEmptyPaths) {
    SetText("");
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_CFG_PATH), "");
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_FOLDER), "");
    object_address_ = 0;
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_CFG_PATH), "");
}

TEST_F(QueryAircraft, LongTextsAreCutToFitThePathBuffer) {
    const std::string folder = "F:\\" + std::string(240, 'd') + "\\";
    SetText(folder + std::string(300, 'f'));
    const std::string path = Query(MDN_QUERY_AIRCRAFT_CFG_PATH);
    EXPECT_EQ(path.size(), 259u);
    EXPECT_EQ(path, (folder + std::string(300, 'f')).substr(0, 255) + ".CFG");
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_FOLDER), folder);
}

TEST_F(QueryAircraft, GlobalRecordIsReadWhenKnown) {
    uint32_t out = 0xFFFFFFFFu;
    navigation::SetSimulatorGlobalRecord(0);
    EXPECT_EQ(ServiceQuery(MDN_QUERY_GLOBAL_RECORD, &out), 1u);
    EXPECT_EQ(out, 0u);
    uint32_t global = 0x00C0FFEEu;
    navigation::SetSimulatorGlobalRecord(reinterpret_cast<uintptr_t>(&global));
    ServiceQuery(MDN_QUERY_GLOBAL_RECORD, &out);
    EXPECT_EQ(out, 0x00C0FFEEu);
}

// Another simulator build keeps other words in the code bytes the addresses come from: an
// address that cannot be read answers 0 or an empty text, and a text that ends right before
// such memory is still read whole.
TEST_F(QueryAircraft, UnreadableAddressesAnswerNothingInsteadOfCrashing) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    auto* pages = static_cast<char*>(
        mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(mprotect(pages + page, page, PROT_NONE), 0);
    char* const unreadable = pages + page;

    const std::string text = "Aircraft\\Edge\\edge";
    char* object = pages + page - 436 - text.size() - 1;  // the NUL is the page's last byte
    std::memcpy(object + 436, text.c_str(), text.size() + 1);
    object_address_ = AddressOf(object);
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_CFG_PATH), text + ".CFG");

    object_address_ = AddressOf(unreadable - 436);
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_CFG_PATH), "");
    object_address_ = AddressOf(unreadable - 436 - 3);  // "abc" and then unreadable memory
    std::memcpy(unreadable - 3, "abc", 3);
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_FOLDER), "");

    uint32_t holders[2] = {AddressOf(unreadable), AddressOf(unreadable)};
    std::memcpy(code_ + 11, &holders[0], 4);
    std::memcpy(code_ + 24, &holders[1], 4);
    navigation::ReadPanelsAddresses();
    uint32_t out = 0xFFFFFFFFu;
    EXPECT_EQ(ServiceQuery(MDN_QUERY_AIRCRAFT_VALUE, &out), 1u);
    EXPECT_EQ(out, 0u);
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_CFG_PATH), "");
    EXPECT_EQ(Query(MDN_QUERY_AIRCRAFT_FOLDER), "");
    navigation::SetSimulatorGlobalRecord(reinterpret_cast<uintptr_t>(unreadable));
    out = 0xFFFFFFFFu;
    EXPECT_EQ(ServiceQuery(MDN_QUERY_GLOBAL_RECORD, &out), 1u);
    EXPECT_EQ(out, 0u);
    navigation::SetSimulatorGlobalRecord(0);
    munmap(pages, 2 * page);
}

using QueryWithoutAircraft = AttachedModule;

TEST_F(QueryWithoutAircraft, MissingWordsGiveZeroAndEmptyTexts) {
    void* panels[80] = {};
    ImportTable[0].table = panels;
    fake::Fail("ReadProcessMemory");
    navigation::ReadPanelsAddresses();  // both words 0
    uint32_t out = 0xFFFFFFFFu;
    EXPECT_EQ(ServiceQuery(MDN_QUERY_AIRCRAFT_VALUE, &out), 1u);
    EXPECT_EQ(out, 0u);
    ServiceQuery(MDN_QUERY_AIRCRAFT_FOLDER, &out);
    EXPECT_STREQ(reinterpret_cast<const char*>(static_cast<uintptr_t>(out)), "");
}

}  // namespace
