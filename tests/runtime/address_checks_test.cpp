// The checks the module makes before it calls or reads through an address a simulator module
// handed it: code for functions, readable or writable memory for records.
#include <gtest/gtest.h>

#include <cstdint>

#include "runtime/address_checks.h"

namespace {

int Function() {
    return 1;
}
uint8_t record[64];
const char kText[] = "a text in read-only data";

TEST(MemoryChecks, FunctionsAreCodeAndRecordsAreNot) {
    EXPECT_TRUE(runtime::IsCodeAddress(reinterpret_cast<const void*>(&Function)));
    EXPECT_FALSE(runtime::IsCodeAddress(record));
    EXPECT_FALSE(runtime::IsCodeAddress(nullptr));
    EXPECT_FALSE(runtime::IsCodeAddress(reinterpret_cast<const void*>(0x1234)));
    EXPECT_EQ(Function(), 1);
}

TEST(MemoryChecks, RecordsAreReadableAndWritableWhereTheyLie) {
    EXPECT_TRUE(runtime::IsReadable(record, sizeof record));
    EXPECT_TRUE(runtime::IsWritable(record, sizeof record));
    EXPECT_TRUE(runtime::IsReadable(kText, sizeof kText));
    EXPECT_FALSE(runtime::IsWritable(kText, sizeof kText));
    EXPECT_FALSE(runtime::IsReadable(nullptr, 4));
    EXPECT_FALSE(runtime::IsReadable(reinterpret_cast<const void*>(0xFFF0), 4));
    // A range that wraps around the end of the address space is never readable.
    EXPECT_FALSE(runtime::IsReadable(record, SIZE_MAX));
}

}  // namespace
