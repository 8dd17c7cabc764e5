// Which operations hold the x87 guard. Only work that computes with the x87, or that calls
// code which may (a gauge's callback, a message box, the simulator's functions), needs the
// module's precision and masks; the other operations move integers and texts, and their
// entries pass straight through, for nothing. A test runs each unguarded operation at single
// precision and fails when one raises an x87 flag, so one that starts computing is caught; a
// slot not named here is guarded.
#pragma once
#include "mdnsrv.h"

namespace service {

constexpr bool SlotHoldsX87Guard(int slot) {
    switch (slot) {
        case MDN_SLOT_REGISTER_KEY_CLIENT:
        case MDN_SLOT_UNREGISTER_KEY_CLIENT:
        case MDN_SLOT_ENABLE_KEY_CLIENT:
        case MDN_SLOT_DISABLE_KEY_CLIENT:
        case MDN_SLOT_ADD_KEY_COMMAND:
        case MDN_SLOT_BIND_KEY_COMMAND:
        case MDN_SLOT_NEXT_KEY_EVENT:
        case MDN_SLOT_FIND_KEY_COMMAND:
        case MDN_SLOT_REGISTER_NAV_DEVICE:
        case MDN_SLOT_FIND_NAV_DEVICE:
        case MDN_SLOT_GET_NAV_DEVICE_COUNT:
        case MDN_SLOT_GET_NAV_DEVICE_INFO:
        case MDN_SLOT_IS_NAV_DEVICE_ACTIVE:
        case MDN_SLOT_GET_ACTIVE_NAV_DEVICE:
        case MDN_SLOT_GET_PANELS_HOOK_STATE:
        case MDN_SLOT_REGISTER_RANGE_HANDLER:
        case MDN_SLOT_UNREGISTER_RANGE_HANDLER:
        case MDN_SLOT_ACQUIRE_WORK_BUFFER:
        case MDN_SLOT_RELEASE_WORK_BUFFER:
            return false;
        default:
            // Queries and controls, key and device callbacks, traffic, every bitmap operation.
            return true;
    }
}

}  // namespace service
