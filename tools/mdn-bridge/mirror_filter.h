// Which block messages the mirror writes into its block: whole, well-formed ones newer than the
// last it wrote. A publisher that restarts counts from 1 again; its lower numbers are taken
// once the station's status has said it went away (its will or its own "offline" or "waiting"
// comes first), or when a message carries sequence number 1.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "snapshot.h"

namespace bridge {

enum class MirrorVerdict { kWrite, kRepeat, kWrongSize, kWrongMagic, kWrongVersion, kOlder };

struct MirrorCounts {
    unsigned long written = 0;
    unsigned long wrong_size = 0;
    unsigned long wrong_magic = 0;
    unsigned long wrong_version = 0;
    unsigned long older = 0;
    unsigned long dropped() const { return wrong_size + wrong_magic + wrong_version + older; }
};

class MirrorFilter {
  public:
    MirrorVerdict Offer(const uint8_t* message, size_t size);
    // The station's status text as it arrives.
    void StationStatus(std::string_view status);
    const MirrorCounts& counts() const { return counts_; }
    uint32_t last_sequence() const { return last_; }

  private:
    bool have_last_ = false;
    bool restart_allowed_ = false;
    uint32_t last_ = 0;
    MirrorCounts counts_;
};

}  // namespace bridge
