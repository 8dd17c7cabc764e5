// The air-data block as the publisher sees it: opened read-only by its name, sampled whole.
#pragma once
#include <windows.h>

#include <cstdint>

namespace bridge {

class BlockSource {
  public:
    BlockSource() = default;
    ~BlockSource() { Close(); }
    BlockSource(const BlockSource&) = delete;
    BlockSource& operator=(const BlockSource&) = delete;

    // False while the block does not exist (no simulator, or the module is not loaded).
    bool Open();
    void Close();
    bool open() const { return view_ != nullptr; }
    // While the bridge holds the block open it outlives the simulator, so it lets go and opens
    // it again by name: false when nobody else holds it any more (the simulator has gone).
    bool StillThere();
    // A consistent copy (consistent_read.h) into `out` (384 bytes); false when the writer
    // never paused long enough.
    bool Sample(uint8_t* out);

  private:
    HANDLE mapping_ = nullptr;
    const volatile uint32_t* view_ = nullptr;
};

}  // namespace bridge
