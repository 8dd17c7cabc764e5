// The presses waiting for a key client: a ring of 129 bindings, so at most 128 wait.
#pragma once
#include <cstdint>

#include "mdnsrv.h"

namespace keyboard {

class KeyCommandQueue {
  public:
    static constexpr uint32_t kCapacity = 129;

    bool Empty() const { return read_ == write_; }
    bool Full() const { return (write_ + 1) % kCapacity == read_; }
    uint32_t Waiting() const { return (write_ + kCapacity - read_) % kCapacity; }

    // False, and nothing stored, when full.
    bool Push(const MdnKeyBinding& entry);
    // Takes the oldest entry; false when empty.
    bool Pop(MdnKeyBinding* entry);
    // Discards every waiting entry.
    void Clear() { read_ = write_ = 0; }

  private:
    uint32_t read_ = 0;
    uint32_t write_ = 0;
    MdnKeyBinding slots_[kCapacity] = {};
};

}  // namespace keyboard
