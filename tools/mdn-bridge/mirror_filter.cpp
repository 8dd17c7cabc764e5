#include "mirror_filter.h"

#include "topics.h"

namespace bridge {

MirrorVerdict MirrorFilter::Offer(const uint8_t* message, size_t size) {
    SnapshotHeader header;
    switch (DecodeSnapshot(message, size, &header)) {
        case SnapshotFault::kSize:
            ++counts_.wrong_size;
            return MirrorVerdict::kWrongSize;
        case SnapshotFault::kMagic:
            ++counts_.wrong_magic;
            return MirrorVerdict::kWrongMagic;
        case SnapshotFault::kVersion:
            ++counts_.wrong_version;
            return MirrorVerdict::kWrongVersion;
        case SnapshotFault::kNone:
            break;
    }
    if (have_last_) {
        // Serial-number order, so the count may wrap after years without a restart.
        const int32_t ahead = static_cast<int32_t>(header.sequence - last_);
        if (ahead == 0)
            return MirrorVerdict::kRepeat;  // the broker's retained copy of what is written
        if (ahead < 0 && !restart_allowed_ && header.sequence != 1) {
            ++counts_.older;
            return MirrorVerdict::kOlder;
        }
    }
    have_last_ = true;
    restart_allowed_ = false;
    last_ = header.sequence;
    ++counts_.written;
    return MirrorVerdict::kWrite;
}

void MirrorFilter::StationStatus(std::string_view status) {
    if (status != kOnline)
        restart_allowed_ = true;
}

}  // namespace bridge
