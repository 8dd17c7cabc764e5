// What the simulator and a gauge read from the three exported records.
#include <gtest/gtest.h>

#include "service/exports.h"

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

}  // namespace
