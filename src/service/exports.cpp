// Two of the three exported records: Linkage and the service object MdnSrv (ImportTable is
// runtime/import_table.cpp).
#include "airdata/airdata.h"
#include "bitmap/bitmap.h"
#include "keyboard/keyboard.h"
#include "mdnsrv.h"
#include "navigation/navigation.h"
#include "queries/queries.h"
#include "service/operation_entry.h"
#include "traffic/traffic.h"

namespace {

// Both Linkage functions do nothing: all set-up runs at process attach.
void MDN_STDCALL ModuleInit() {}

}  // namespace

extern "C" {

MdnLinkage Linkage = {0x13, &ModuleInit, &ModuleInit, 0, 0, 0x900, nullptr};

extern const MdnOperationTable MdnOperations;
const MdnOperationTable MdnOperations = {
    MDN_OPERATION(ServiceQuery, MDN_SLOT_SERVICE_QUERY, queries::ServiceQuery),
    MDN_OPERATION(ServiceControl, MDN_SLOT_SERVICE_CONTROL, queries::ServiceControl),
    MDN_OPERATION(RegisterKeyClient, MDN_SLOT_REGISTER_KEY_CLIENT, keyboard::RegisterKeyClient),
    MDN_OPERATION(UnregisterKeyClient, MDN_SLOT_UNREGISTER_KEY_CLIENT,
                  keyboard::UnregisterKeyClient),
    MDN_OPERATION(EnableKeyClient, MDN_SLOT_ENABLE_KEY_CLIENT, keyboard::EnableKeyClient),
    MDN_OPERATION(DisableKeyClient, MDN_SLOT_DISABLE_KEY_CLIENT, keyboard::DisableKeyClient),
    MDN_OPERATION(AddKeyCommand, MDN_SLOT_ADD_KEY_COMMAND, keyboard::AddKeyCommand),
    MDN_OPERATION(BindKeyCommand, MDN_SLOT_BIND_KEY_COMMAND, keyboard::BindKeyCommand),
    MDN_OPERATION(NextKeyEvent, MDN_SLOT_NEXT_KEY_EVENT, keyboard::NextKeyEvent),
    MDN_OPERATION(FindKeyCommand, MDN_SLOT_FIND_KEY_COMMAND, keyboard::FindKeyCommand),
    MDN_OPERATION(FireKeyCommand, MDN_SLOT_FIRE_KEY_COMMAND, keyboard::FireKeyCommand),
    MDN_OPERATION(RegisterNavDevice, MDN_SLOT_REGISTER_NAV_DEVICE, navigation::RegisterNavDevice),
    MDN_OPERATION(UnregisterNavDevice, MDN_SLOT_UNREGISTER_NAV_DEVICE,
                  navigation::UnregisterNavDevice),
    MDN_OPERATION(FindNavDevice, MDN_SLOT_FIND_NAV_DEVICE, navigation::FindNavDevice),
    MDN_OPERATION(SelectNavDevice, MDN_SLOT_SELECT_NAV_DEVICE, navigation::SelectNavDevice),
    MDN_OPERATION(GetNavDeviceCount, MDN_SLOT_GET_NAV_DEVICE_COUNT, navigation::GetNavDeviceCount),
    MDN_OPERATION(GetNavDeviceInfo, MDN_SLOT_GET_NAV_DEVICE_INFO, navigation::GetNavDeviceInfo),
    MDN_OPERATION(IsNavDeviceActive, MDN_SLOT_IS_NAV_DEVICE_ACTIVE, navigation::IsNavDeviceActive),
    MDN_OPERATION(CycleNavDevice, MDN_SLOT_CYCLE_NAV_DEVICE, navigation::CycleNavDevice),
    MDN_OPERATION(GetActiveNavDevice, MDN_SLOT_GET_ACTIVE_NAV_DEVICE,
                  navigation::GetActiveNavDevice),
    MDN_OPERATION(GetPanelsHookState, MDN_SLOT_GET_PANELS_HOOK_STATE,
                  navigation::GetPanelsHookState),
    MDN_OPERATION(RegisterRangeHandler, MDN_SLOT_REGISTER_RANGE_HANDLER,
                  navigation::RegisterRangeHandler),
    MDN_OPERATION(UnregisterRangeHandler, MDN_SLOT_UNREGISTER_RANGE_HANDLER,
                  navigation::UnregisterRangeHandler),
    MDN_OPERATION(GetTrafficList, MDN_SLOT_GET_TRAFFIC_LIST, traffic::GetTrafficList),
    MDN_OPERATION(AcquireWorkBuffer, MDN_SLOT_ACQUIRE_WORK_BUFFER, bitmap::AcquireWorkBuffer),
    MDN_OPERATION(ReleaseWorkBuffer, MDN_SLOT_RELEASE_WORK_BUFFER, bitmap::ReleaseWorkBuffer),
    MDN_OPERATION(RotateBitmap, MDN_SLOT_ROTATE_BITMAP, bitmap::RotateBitmap),
    MDN_OPERATION(CopyBitmap, MDN_SLOT_COPY_BITMAP, bitmap::CopyBitmap),
    MDN_OPERATION(DrawTerrainMap, MDN_SLOT_DRAW_TERRAIN_MAP, queries::DrawTerrainMap),
    MDN_OPERATION(StretchBitmap, MDN_SLOT_STRETCH_BITMAP, bitmap::StretchBitmap),
    MDN_OPERATION(RotateBitmapMasked, MDN_SLOT_ROTATE_BITMAP_MASKED, bitmap::RotateBitmapMasked),
    .reserved = {},
};

MdnServiceObject MdnSrv = {&MdnOperations};

}  // extern "C"
