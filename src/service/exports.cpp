// Two of the three exported records: Linkage and the service object MdnSrv (ImportTable is
// runtime/import_table.cpp).
#include "airdata/airdata.h"
#include "bitmap/bitmap.h"
#include "keyboard/keyboard.h"
#include "mdnsrv.h"
#include "navigation/navigation.h"
#include "queries/queries.h"
#include "service/call_trace.h"
#include "traffic/traffic.h"

namespace {

using service::Traced;

// Both Linkage functions do nothing: all set-up runs at process attach.
void MDN_STDCALL ModuleInit() {}

}  // namespace

extern "C" {

MdnLinkage Linkage = {0x13, &ModuleInit, &ModuleInit, 0, 0, 0x900, nullptr};

// Each operation through its wrapper for the diagnostic log.
extern const MdnOperationTable MdnOperations;
const MdnOperationTable MdnOperations = {
    &Traced<0, &navigation::ServiceQuery>::Call,
    &Traced<1, &navigation::ServiceControl>::Call,
    &Traced<2, &keyboard::RegisterKeyClient>::Call,
    &Traced<3, &keyboard::UnregisterKeyClient>::Call,
    &Traced<4, &keyboard::EnableKeyClient>::Call,
    &Traced<5, &keyboard::DisableKeyClient>::Call,
    &Traced<6, &keyboard::AddKeyCommand>::Call,
    &Traced<7, &keyboard::BindKeyCommand>::Call,
    &Traced<8, &keyboard::NextKeyEvent>::Call,
    &Traced<9, &keyboard::FindKeyCommand>::Call,
    &Traced<10, &keyboard::FireKeyCommand>::Call,
    &Traced<11, &navigation::RegisterNavDevice>::Call,
    &Traced<12, &navigation::UnregisterNavDevice>::Call,
    &Traced<13, &navigation::FindNavDevice>::Call,
    &Traced<14, &navigation::SelectNavDevice>::Call,
    &Traced<15, &navigation::GetNavDeviceCount>::Call,
    &Traced<16, &navigation::GetNavDeviceInfo>::Call,
    &Traced<17, &navigation::IsNavDeviceActive>::Call,
    &Traced<18, &navigation::CycleNavDevice>::Call,
    &Traced<19, &navigation::GetActiveNavDevice>::Call,
    &Traced<20, &navigation::GetPanelsHookState>::Call,
    &Traced<21, &navigation::RegisterRangeHandler>::Call,
    &Traced<22, &navigation::UnregisterRangeHandler>::Call,
    &Traced<23, &traffic::GetTrafficList>::Call,
    &Traced<24, &bitmap::AcquireWorkBuffer>::Call,
    &Traced<25, &bitmap::ReleaseWorkBuffer>::Call,
    &Traced<26, &bitmap::RotateBitmap>::Call,
    &Traced<27, &bitmap::CopyBitmap>::Call,
    &Traced<28, &navigation::DrawTerrainMap>::Call,
    &Traced<29, &bitmap::StretchBitmap>::Call,
    &Traced<30, &bitmap::RotateBitmapMasked>::Call,
    {},
};

MdnServiceObject MdnSrv = {&MdnOperations};

}  // extern "C"
