#include "bitmap/images.h"
#include "bitmap/pixels.h"
#include "bitmap/reference.h"

namespace {

class EaseTable : public bitmap_test::BitmapTest {};
class WorkBuffer : public bitmap_test::BitmapTest {};

TEST_F(EaseTable, HoldsItsThirtyTwoWeightsFromLoad) {
    const int32_t expected[32] = {0,  0,  0,  0,  1,  1,  2,  3,  4,  6,  7,  8,  10, 11, 13, 14,
                                  16, 18, 19, 21, 22, 24, 25, 26, 27, 28, 29, 30, 30, 31, 31, 31};
    const int32_t* ease = bitmap::EaseTable();
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(ease[i], expected[i]) << "entry " << i;
    const auto literal = ref::EaseTable();
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(literal[i], expected[i]) << "entry " << i;
}

TEST_F(WorkBuffer, FirstRequestDecidesAndTheLastReleaseFreesIt) {
    void* first = bitmap::AcquireWorkBuffer(256, 64);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(first) % 64, 0u);
    void* second = bitmap::AcquireWorkBuffer(200, 16);
    EXPECT_EQ(second, first);
    EXPECT_EQ(bitmap::WorkBufferUsers(), 2);

    bitmap::ReleaseWorkBuffer(reinterpret_cast<void*>(0x1234));  // the argument is not used
    EXPECT_EQ(bitmap::WorkBufferUsers(), 1);
    EXPECT_TRUE(fake::CallsOf("_aligned_free").empty());
    bitmap::ReleaseWorkBuffer(nullptr);
    EXPECT_EQ(bitmap::WorkBufferUsers(), 0);
    EXPECT_EQ(fake::LiveAlignedBlocks(), 0);
    EXPECT_TRUE(test::SameCalls(
        {"_aligned_malloc(256, 64)", "_aligned_free(" + fake::Format(first) + ")"},
        fake::CallsOf(std::vector<std::string>{"_aligned_malloc", "_aligned_free"})));
}

// A later caller that the held block does not fit gets 0 and is not counted: handing it the
// smaller block would let it write past the block's end.
TEST_F(WorkBuffer, ARequestTheHeldBlockCannotServeGetsNothing) {
    void* held = bitmap::AcquireWorkBuffer(0x400, 16);
    ASSERT_NE(held, nullptr);
    // Twice the address's lowest set bit: an alignment the block does not have.
    const uintptr_t address = reinterpret_cast<uintptr_t>(held);
    const uint32_t unaligned = static_cast<uint32_t>((address & (~address + 1)) * 2);
    const uint32_t larger = 0x401;
    EXPECT_EQ(bitmap::AcquireWorkBuffer(larger, 16), nullptr);
    EXPECT_EQ(bitmap::AcquireWorkBuffer(0x28000, 0), nullptr);
    EXPECT_EQ(bitmap::AcquireWorkBuffer(64, unaligned), nullptr) << "alignment " << unaligned;
    EXPECT_EQ(bitmap::AcquireWorkBuffer(64, 24), nullptr);
    EXPECT_EQ(bitmap::WorkBufferUsers(), 1);
    EXPECT_EQ(bitmap::AcquireWorkBuffer(0x400, 16), held);
    EXPECT_EQ(bitmap::AcquireWorkBuffer(0, 0), held);
    EXPECT_EQ(bitmap::WorkBufferUsers(), 3);
    EXPECT_EQ(fake::CallsOf("_aligned_malloc").size(), 1u);
    for (int i = 0; i < 3; ++i)
        bitmap::ReleaseWorkBuffer(nullptr);
    // Freed: the next first caller decides again.
    EXPECT_NE(bitmap::AcquireWorkBuffer(0x28000, 16), nullptr);
    bitmap::ReleaseWorkBuffer(nullptr);
    EXPECT_EQ(fake::LiveAlignedBlocks(), 0);
}

TEST_F(WorkBuffer, CountNeverFallsBelowZero) {
    for (int i = 0; i < 3; ++i)
        bitmap::ReleaseWorkBuffer(nullptr);
    EXPECT_EQ(bitmap::WorkBufferUsers(), 0);
    EXPECT_TRUE(fake::CallsOf("_aligned_free").empty());
    // One user again: one release frees the buffer, not four.
    void* buffer = bitmap::AcquireWorkBuffer(32, 16);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(bitmap::WorkBufferUsers(), 1);
    bitmap::ReleaseWorkBuffer(nullptr);
    EXPECT_EQ(fake::CallsOf("_aligned_free").size(), 1u);
    EXPECT_EQ(fake::LiveAlignedBlocks(), 0);
    // A new buffer after the old one was freed.
    EXPECT_NE(bitmap::AcquireWorkBuffer(32, 16), nullptr);
    EXPECT_EQ(fake::CallsOf("_aligned_malloc").size(), 2u);
}

TEST_F(WorkBuffer, FailedAllocationCountsNoUserAndIsTriedAgain) {
    fake::Fail("_aligned_malloc");
    EXPECT_EQ(bitmap::AcquireWorkBuffer(4096, 16), nullptr);
    EXPECT_EQ(bitmap::WorkBufferUsers(), 0);
    bitmap::ReleaseWorkBuffer(nullptr);
    EXPECT_TRUE(fake::CallsOf("_aligned_free").empty());

    fake::Fail("_aligned_malloc", false);
    void* buffer = bitmap::AcquireWorkBuffer(8192, 32);
    EXPECT_NE(buffer, nullptr);
    EXPECT_EQ(bitmap::WorkBufferUsers(), 1);
    EXPECT_TRUE(test::SameCalls({"_aligned_malloc(4096, 16)", "_aligned_malloc(8192, 32)"},
                                fake::CallsOf("_aligned_malloc")));
}

// The run-time refuses an alignment with more than one bit set; 0, like 1, gets a block
// aligned to a pointer, and the gauge is counted as a user of it.
TEST_F(WorkBuffer, AlignmentIsAPowerOfTwoOrZero) {
    EXPECT_EQ(bitmap::AcquireWorkBuffer(64, 24), nullptr);
    EXPECT_EQ(bitmap::WorkBufferUsers(), 0);
    for (uint32_t alignment : {0u, 1u}) {
        void* buffer = bitmap::AcquireWorkBuffer(64, alignment);
        ASSERT_NE(buffer, nullptr) << "alignment " << alignment;
        EXPECT_EQ(reinterpret_cast<uintptr_t>(buffer) % sizeof(void*), 0u);
        EXPECT_EQ(bitmap::WorkBufferUsers(), 1);
        bitmap::ReleaseWorkBuffer(nullptr);
        EXPECT_EQ(fake::LiveAlignedBlocks(), 0);
    }
}

}  // namespace
