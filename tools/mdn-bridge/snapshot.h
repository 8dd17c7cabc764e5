// The block message: a 16-byte header of the bridge's own, then the 384 bytes of the block as
// they are in shared memory. Header, little-endian: "MDNA", format version (u16), header size
// (u16), sequence number (u32, 1 for a publisher's first snapshot), source time (u32,
// milliseconds on the publisher's clock).
#pragma once
#include <cstddef>
#include <cstdint>

namespace bridge {

constexpr size_t kBlockSize = 384;
constexpr size_t kHeaderSize = 16;
constexpr size_t kMessageSize = kHeaderSize + kBlockSize;
constexpr uint16_t kFormatVersion = 1;

struct SnapshotHeader {
    uint32_t sequence = 0;
    uint32_t source_ms = 0;
};

enum class SnapshotFault { kNone, kSize, kMagic, kVersion };

// Writes the header and `block` (kBlockSize bytes) into `message` (kMessageSize bytes).
void EncodeSnapshot(const SnapshotHeader& header, const uint8_t* block, uint8_t* message);

// Checks a received message; on kNone, `header` holds its header and the block follows it.
SnapshotFault DecodeSnapshot(const uint8_t* message, size_t size, SnapshotHeader* header);

}  // namespace bridge
