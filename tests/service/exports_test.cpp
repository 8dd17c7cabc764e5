// What the simulator and a gauge read from the three exported records.
#include <gtest/gtest.h>

#include "platform/fake.h"
#include "runtime/diag_log.h"
#include "service/exports.h"
#include "support/module_fixture.h"

namespace {

TEST(ExportedRecords, LinkageNamesTheModuleAndItsDoNothingFunction) {
    EXPECT_EQ(Linkage.module_id, 0x13u);
    ASSERT_NE(Linkage.init, nullptr);
    EXPECT_EQ(Linkage.init, Linkage.deinit);
    EXPECT_EQ(Linkage.flags, 0u);
    EXPECT_EQ(Linkage.priority, 0u);
    EXPECT_EQ(Linkage.module_version, 0x900u);
    EXPECT_EQ(Linkage.function_table, nullptr);
    Linkage.init();  // does nothing, removes nothing from the stack
}

TEST(ExportedRecords, ImportTableAsksForThePanelsModuleAndEndsWithZeros) {
    EXPECT_EQ(ImportTable[0].module_id, 0x0Fu);
    EXPECT_EQ(ImportTable[1].module_id, 0u);
    EXPECT_EQ(ImportTable[1].table, nullptr);
}

TEST(ExportedRecords, ServiceObjectHoldsThirtyOneOperationsThenZeroWords) {
    ASSERT_NE(MdnSrv.table, nullptr);
    const auto* words = reinterpret_cast<const uint32_t*>(MdnSrv.table);
    for (int slot = 0; slot < MDN_SLOT_COUNT; ++slot) {
        EXPECT_NE(words[slot], 0u) << "slot " << slot;
    }
    for (int i = 0; i < MDN_TABLE_RESERVED_WORDS; ++i) {
        EXPECT_EQ(words[MDN_SLOT_COUNT + i], 0u) << "word " << MDN_SLOT_COUNT + i;
    }
}

// ---- the diagnostic log's line for each call through the table ----

constexpr char kLogFolder[] = "C:\\FS9\\Meridane\\Common\\Settings";
constexpr char kLog[] = "C:\\FS9\\Meridane\\Common\\Settings\\MdnSrv.log";

void MDN_STDCALL KeyClient() {}
void MDN_STDCALL Device() {}
uint32_t MDN_STDCALL Handler(MdnVariableQuery*) {
    return 0;
}

std::string Hex(uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", v);
    return text;
}

class CallLog : public test::AttachedModule {
  protected:
    void StartLog(int level) {
        fake::MakeDirectory(kLogFolder);
        ASSERT_TRUE(runtime::StartLog(level, kLogFolder));
    }
    std::string Log() { return fake::ReadFile(kLog).value_or(""); }
    const MdnOperationTable& ops = *MdnSrv.table;
};

// One refusal or silent no-op of each family, with its arguments and reason.
TEST_F(CallLog, EachRefusalIsOneLineWithArgumentsAndReason) {
    const uint32_t client = ops.RegisterKeyClient(&KeyClient);
    ops.EnableKeyClient(client);
    const uint32_t device = ops.RegisterNavDevice(&Device, "Meridane GPS", "MDN");
    StartLog(1);
    ops.AddKeyCommand(client, "CMD", 2, 112);
    ops.RegisterNavDevice(reinterpret_cast<MdnNavDeviceCallback>(0x1234), "Meridane GPS", "X");
    ops.RegisterRangeHandler(&Handler, 100, 200);
    uint32_t word = 0;
    ops.ServiceQuery(9999, &word);
    MdnTrafficRecord records[1];
    ops.GetTrafficList(records);
    ops.AcquireWorkBuffer(64, 3);
    char key_text[] = "ctrl+f1";
    ops.BindKeyCommand(client, "CMD2", key_text);
    void* held = ops.AcquireWorkBuffer(0x400, 16);
    ops.AcquireWorkBuffer(0x28000, 16);
    ops.ReleaseWorkBuffer(held);
    ops.RegisterNavDevice(&Device, std::string(64, 'N').c_str(), "N");
    ops.GetNavDeviceCount();  // no reason: no line at level 1
    const std::string log = Log();
    for (const std::string& line : {
             "call AddKeyCommand(" + Hex(client) + ", \"CMD\", 0x2, 112) = 0x0: client enabled",
             "call RegisterNavDevice(0x00001234, \"Meridane GPS\", \"X\") = 0xFFFFEDCB: did "
             "nothing: the long name is taken by device " +
                 Hex(device) + " \"Meridane GPS\"",
             std::string("tokens 100 to 200 are never offered"),
             std::string("call ServiceQuery(9999, 0x"),
             std::string(") = 0x0: unknown query id"),
             std::string("call GetTrafficList(0x"),
             std::string(") = 0x0: no module: the traffic interface could not be obtained"),
             std::string("call AcquireWorkBuffer(0x40, 0x3) = 0x00000000: no block of 64 bytes "
                         "aligned to 3"),
             "call BindKeyCommand(" + Hex(client) +
                 ", \"CMD2\", \"CTRL+F1\") = 0x0: client "
                 "enabled",
             std::string("call AcquireWorkBuffer(0x28000, 0x10) = 0x00000000: the shared buffer "
                         "holds 1024 bytes, fewer than the 163840 asked for"),
             std::string(") = 0x0: a name of 64 characters or more"),
         }) {
        EXPECT_NE(log.find(line), std::string::npos) << line << "\nnot in:\n" << log;
    }
    EXPECT_EQ(log.find("GetNavDeviceCount"), std::string::npos);
}

TEST_F(CallLog, LevelTwoGivesEveryCallItsResultAndFilledBuffers) {
    StartLog(2);
    char long_name[64], short_name[16];
    ops.GetNavDeviceInfo(0, long_name, short_name);
    ops.GetNavDeviceInfo(5, long_name, short_name);
    const std::string log = Log();
    EXPECT_NE(log.find("call GetNavDeviceInfo(0x0, \"Flight Simulator GPS\", \"GPS\") = 0x"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("call GetNavDeviceInfo(0x5, 0x"), std::string::npos) << log;
    EXPECT_NE(log.find(") = 0x0: index past the end (1 devices)"), std::string::npos) << log;
}

}  // namespace
