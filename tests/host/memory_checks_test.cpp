// The checks the module makes before it calls or reads through an address a simulator module
// handed it: code for functions, readable or writable memory for records.
#include <gtest/gtest.h>

#include <cstdint>

#include "host/memory_checks.h"

namespace {

int Function() {
    return 1;
}
uint8_t record[64];
const char kText[] = "a text in read-only data";

TEST(MemoryChecks, FunctionsAreCodeAndRecordsAreNot) {
    EXPECT_TRUE(host::IsCodeAddress(reinterpret_cast<const void*>(&Function)));
    EXPECT_FALSE(host::IsCodeAddress(record));
    EXPECT_FALSE(host::IsCodeAddress(nullptr));
    EXPECT_FALSE(host::IsCodeAddress(reinterpret_cast<const void*>(0x1234)));
    EXPECT_EQ(Function(), 1);
}

TEST(MemoryChecks, RecordsAreReadableAndWritableWhereTheyLie) {
    EXPECT_TRUE(host::IsReadable(record, sizeof record));
    EXPECT_TRUE(host::IsWritable(record, sizeof record));
    EXPECT_TRUE(host::IsReadable(kText, sizeof kText));
    EXPECT_FALSE(host::IsWritable(kText, sizeof kText));
    EXPECT_FALSE(host::IsReadable(nullptr, 4));
    EXPECT_FALSE(host::IsReadable(reinterpret_cast<const void*>(0xFFF0), 4));
    // A range that wraps around the end of the address space is never readable.
    EXPECT_FALSE(host::IsReadable(record, SIZE_MAX));
}

}  // namespace
