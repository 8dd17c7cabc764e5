// The block message's bytes, and which messages the mirror writes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "mirror_filter.h"
#include "snapshot.h"
#include "topics.h"

namespace {

using bridge::kMessageSize;
using bridge::MirrorFilter;
using bridge::MirrorVerdict;

std::vector<uint8_t> Message(uint32_t sequence, uint32_t ms = 0x01020304) {
    uint8_t block[bridge::kBlockSize];
    for (size_t i = 0; i < sizeof block; ++i)
        block[i] = static_cast<uint8_t>(i * 7 + 3);
    std::vector<uint8_t> m(kMessageSize);
    bridge::EncodeSnapshot({sequence, ms}, block, m.data());
    return m;
}

TEST(Snapshot, HeaderIsLittleEndianBeforeTheBlockWhole) {
    const std::vector<uint8_t> m = Message(0xA1B2C3D4);
    const uint8_t header[16] = {'M',  'D',  'N',  'A',  1,    0,    16,   0,
                                0xD4, 0xC3, 0xB2, 0xA1, 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(0, std::memcmp(header, m.data(), sizeof header));
    for (size_t i = 0; i < bridge::kBlockSize; ++i)
        ASSERT_EQ(static_cast<uint8_t>(i * 7 + 3), m[16 + i]) << "block byte " << i;
    bridge::SnapshotHeader read;
    ASSERT_EQ(bridge::SnapshotFault::kNone, bridge::DecodeSnapshot(m.data(), m.size(), &read));
    EXPECT_EQ(0xA1B2C3D4u, read.sequence);
    EXPECT_EQ(0x01020304u, read.source_ms);
}

TEST(MirrorFilter, WrongSizeMagicOrVersionIsDroppedAndCountedByKind) {
    MirrorFilter f;
    std::vector<uint8_t> m = Message(1);
    EXPECT_EQ(MirrorVerdict::kWrongSize, f.Offer(m.data(), m.size() - 1));
    m.push_back(0);
    EXPECT_EQ(MirrorVerdict::kWrongSize, f.Offer(m.data(), m.size()));
    EXPECT_EQ(MirrorVerdict::kWrongSize, f.Offer(m.data(), 0));
    m.pop_back();
    m[3] = 'B';
    EXPECT_EQ(MirrorVerdict::kWrongMagic, f.Offer(m.data(), m.size()));
    m[3] = 'A';
    m[4] = 2;
    EXPECT_EQ(MirrorVerdict::kWrongVersion, f.Offer(m.data(), m.size()));
    m[4] = 1;
    m[6] = 20;  // a longer header than this format's
    EXPECT_EQ(MirrorVerdict::kWrongVersion, f.Offer(m.data(), m.size()));
    EXPECT_EQ(3u, f.counts().wrong_size);
    EXPECT_EQ(1u, f.counts().wrong_magic);
    EXPECT_EQ(2u, f.counts().wrong_version);
    EXPECT_EQ(0u, f.counts().written);
}

TEST(MirrorFilter, OlderSequencesAreDroppedNewerWrittenTheRetainedRepeatLeftAlone) {
    MirrorFilter f;
    f.StationStatus("online");
    EXPECT_EQ(MirrorVerdict::kWrite, f.Offer(Message(40).data(), kMessageSize));
    EXPECT_EQ(MirrorVerdict::kRepeat, f.Offer(Message(40).data(), kMessageSize));
    EXPECT_EQ(MirrorVerdict::kOlder, f.Offer(Message(39).data(), kMessageSize));
    EXPECT_EQ(MirrorVerdict::kWrite, f.Offer(Message(45).data(), kMessageSize));
    EXPECT_EQ(MirrorVerdict::kOlder, f.Offer(Message(44).data(), kMessageSize));
    EXPECT_EQ(2u, f.counts().older);
    EXPECT_EQ(2u, f.counts().written);
    EXPECT_EQ(45u, f.last_sequence());
}

TEST(MirrorFilter, ARestartedPublisherIsFollowedAfterItsStationWentAwayOrFromOne) {
    MirrorFilter f;
    f.StationStatus("online");
    ASSERT_EQ(MirrorVerdict::kWrite, f.Offer(Message(5000).data(), kMessageSize));
    // Back at 1: a publisher that started again, whether or not its goodbye was seen.
    EXPECT_EQ(MirrorVerdict::kWrite, f.Offer(Message(1).data(), kMessageSize));
    ASSERT_EQ(MirrorVerdict::kWrite, f.Offer(Message(900).data(), kMessageSize));
    // Its first snapshot lost: the status it said on the way tells the mirror instead.
    f.StationStatus("offline");
    f.StationStatus("online");
    EXPECT_EQ(MirrorVerdict::kWrite, f.Offer(Message(3).data(), kMessageSize));
    // Only once: from then on the order holds again.
    EXPECT_EQ(MirrorVerdict::kOlder, f.Offer(Message(2).data(), kMessageSize));
    f.StationStatus("waiting for simulator");
    EXPECT_EQ(MirrorVerdict::kWrite, f.Offer(Message(2).data(), kMessageSize));
}

TEST(MirrorFilter, SequenceNumbersCompareAcrossTheirWrap) {
    MirrorFilter f;
    ASSERT_EQ(MirrorVerdict::kWrite, f.Offer(Message(0xFFFFFFFE).data(), kMessageSize));
    EXPECT_EQ(MirrorVerdict::kWrite, f.Offer(Message(0xFFFFFFFF).data(), kMessageSize));
    EXPECT_EQ(MirrorVerdict::kWrite, f.Offer(Message(0).data(), kMessageSize));
    EXPECT_EQ(MirrorVerdict::kWrite, f.Offer(Message(2).data(), kMessageSize));
    EXPECT_EQ(MirrorVerdict::kOlder, f.Offer(Message(0xFFFFFFF0).data(), kMessageSize));
}

}  // namespace
