#include "keyboard/key_queue.h"

namespace keyboard {

bool KeyCommandQueue::Push(const MdnKeyBinding& entry) {
    if (Full())
        return false;
    slots_[write_] = entry;
    write_ = (write_ + 1) % kCapacity;
    return true;
}

bool KeyCommandQueue::Pop(MdnKeyBinding* entry) {
    if (Empty())
        return false;
    *entry = slots_[read_];
    read_ = (read_ + 1) % kCapacity;
    return true;
}

}  // namespace keyboard
