// Two of the three exported records: Linkage and the service object MdnSrv (ImportTable is
// runtime/import_table.cpp).
#include "airdata/airdata.h"
#include "bitmap/bitmap.h"
#include "keyboard/keyboard.h"
#include "mdnsrv.h"
#include "navigation/navigation.h"
#include "queries/queries.h"
#include "traffic/traffic.h"

namespace {

// Both Linkage functions do nothing: all set-up runs at process attach.
void MDN_STDCALL ModuleInit() {}

}  // namespace

extern "C" {

MdnLinkage Linkage = {0x13, &ModuleInit, &ModuleInit, 0, 0, 0x900, nullptr};

extern const MdnOperationTable MdnOperations;
const MdnOperationTable MdnOperations = {
    &navigation::ServiceQuery,
    &navigation::ServiceControl,
    &keyboard::RegisterKeyClient,
    &keyboard::UnregisterKeyClient,
    &keyboard::EnableKeyClient,
    &keyboard::DisableKeyClient,
    &keyboard::AddKeyCommand,
    &keyboard::BindKeyCommand,
    &keyboard::NextKeyEvent,
    &keyboard::FindKeyCommand,
    &keyboard::FireKeyCommand,
    &navigation::RegisterNavDevice,
    &navigation::UnregisterNavDevice,
    &navigation::FindNavDevice,
    &navigation::SelectNavDevice,
    &navigation::GetNavDeviceCount,
    &navigation::GetNavDeviceInfo,
    &navigation::IsNavDeviceActive,
    &navigation::CycleNavDevice,
    &navigation::GetActiveNavDevice,
    &navigation::GetPanelsHookState,
    &navigation::RegisterRangeHandler,
    &navigation::UnregisterRangeHandler,
    &traffic::GetTrafficList,
    &bitmap::AcquireWorkBuffer,
    &bitmap::ReleaseWorkBuffer,
    &bitmap::RotateBitmap,
    &bitmap::CopyBitmap,
    &navigation::DrawTerrainMap,
    &bitmap::StretchBitmap,
    &bitmap::RotateBitmapMasked,
    {},
};

MdnServiceObject MdnSrv = {&MdnOperations};

}  // extern "C"
