// The air-data block: a named 384-byte region in the paging file that readers in any process
// open by name. Made at load, released at unload.
#include <cstdio>

#include "airdata/airdata.h"
#include "platform/kernel.h"
#include "platform/win_errors.h"
#include "platform/win_memory.h"
#include "runtime/owners.h"

namespace airdata {
namespace {

// Module-lifetime objects, released by DestroyBlock at unload rather than at process exit.
HANDLE mapping = nullptr;
MdnAirDataBlock* view = nullptr;
// What the last CreateBlock found, for the diagnostic log (opened after load).
char origin[96] = "not made yet";

void SayOrigin(const char* what, DWORD error) {
    std::snprintf(origin, sizeof origin, "%s (error %lu)", what, static_cast<unsigned long>(error));
}

}  // namespace

bool CreateBlock() {
    // The query records belong to the same load-time set-up as the block.
    ResetQueryRecords();
    if (view != nullptr)
        return true;  // made already: keep it rather than leak it

    // A region of that name made earlier (by a reader) comes back as it is, contents and all.
    runtime::UniqueHandle handle{platform::CreateFileMappingA(
        INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, MDN_AIRDATA_SIZE, MDN_AIRDATA_NAME)};
    const DWORD created = platform::GetLastError();
    if (!handle) {
        SayOrigin("absent: the named region could not be made", created);
        return false;
    }
    // Fails, rather than reaching past the region, when an existing region is smaller.
    runtime::UniqueView mapped{
        platform::MapViewOfFile(handle.get(), FILE_MAP_ALL_ACCESS, 0, 0, MDN_AIRDATA_SIZE)};
    if (!mapped) {
        SayOrigin("absent: the region could not be mapped", platform::GetLastError());
        return false;
    }
    std::snprintf(origin, sizeof origin, "%s",
                  created == ERROR_ALREADY_EXISTS ? "taken over from a reader that made it first"
                                                  : "created");
    mapping = handle.release();
    view = static_cast<MdnAirDataBlock*>(mapped.release());
    return true;
}

void DestroyBlock() {
    if (view != nullptr) {
        platform::UnmapViewOfFile(view);
        view = nullptr;
    }
    if (mapping != nullptr) {
        platform::CloseHandle(mapping);
        mapping = nullptr;
    }
}

MdnAirDataBlock* Block() {
    return view;
}

const char* BlockOriginText() {
    return origin;
}

}  // namespace airdata
