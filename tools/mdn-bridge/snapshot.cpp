#include "snapshot.h"

#include <cstring>

namespace bridge {
namespace {

constexpr uint8_t kMagic[4] = {'M', 'D', 'N', 'A'};

void Put16(uint8_t* at, uint16_t v) {
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(v >> (8 * i));
}
uint16_t Get16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}
uint32_t Get32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

}  // namespace

void EncodeSnapshot(const SnapshotHeader& header, const uint8_t* block, uint8_t* message) {
    std::memcpy(message, kMagic, sizeof kMagic);
    Put16(message + 4, kFormatVersion);
    Put16(message + 6, kHeaderSize);
    Put32(message + 8, header.sequence);
    Put32(message + 12, header.source_ms);
    std::memcpy(message + kHeaderSize, block, kBlockSize);
}

SnapshotFault DecodeSnapshot(const uint8_t* message, size_t size, SnapshotHeader* header) {
    if (size != kMessageSize)
        return SnapshotFault::kSize;
    if (std::memcmp(message, kMagic, sizeof kMagic) != 0)
        return SnapshotFault::kMagic;
    // A later format may grow its header; this one reads only its own.
    if (Get16(message + 4) != kFormatVersion || Get16(message + 6) != kHeaderSize)
        return SnapshotFault::kVersion;
    header->sequence = Get32(message + 8);
    header->source_ms = Get32(message + 12);
    return SnapshotFault::kNone;
}

}  // namespace bridge
