#include "block_sampling.h"

#include "consistent_read.h"
#include "mdnsrv.h"
#include "snapshot.h"

namespace bridge {

static_assert(kBlockSize == MDN_AIRDATA_SIZE, "the message carries the block whole");

bool BlockSource::Open() {
    Close();
    mapping_ = OpenFileMappingA(FILE_MAP_READ, FALSE, MDN_AIRDATA_NAME);
    if (mapping_ == nullptr)
        return false;
    view_ = static_cast<const volatile uint32_t*>(
        MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, MDN_AIRDATA_SIZE));
    if (view_ == nullptr) {
        CloseHandle(mapping_);
        mapping_ = nullptr;
        return false;
    }
    return true;
}

void BlockSource::Close() {
    if (view_ != nullptr)
        UnmapViewOfFile(const_cast<uint32_t*>(view_));
    if (mapping_ != nullptr)
        CloseHandle(mapping_);
    view_ = nullptr;
    mapping_ = nullptr;
}

bool BlockSource::StillThere() {
    return Open();
}

bool BlockSource::Sample(uint8_t* out) {
    if (view_ == nullptr)
        return false;
    // Whole aligned words, as the module writes its fields with single stores.
    auto read = [this](uint8_t* to) {
        uint32_t* words = reinterpret_cast<uint32_t*>(to);
        for (size_t i = 0; i < kBlockSize / 4; ++i)
            words[i] = view_[i];
    };
    uint8_t scratch[kBlockSize] __attribute__((aligned(8)));
    return ReadConsistent(read, out, scratch, kBlockSize);
}

}  // namespace bridge
