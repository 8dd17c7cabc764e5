// The air-data block: a named 384-byte region in the paging file that readers in any process
// open by name. Made at load, released at unload.
#include "airdata/airdata.h"
#include "platform/kernel.h"

namespace airdata {
namespace {

HANDLE mapping = nullptr;
MdnAirDataBlock* view = nullptr;

}  // namespace

bool CreateBlock() {
    // The query records belong to the same load-time set-up as the block.
    ResetQueryRecords();
    if (view != nullptr)
        return true;  // made already: keep it rather than leak it

    // A region of that name made earlier (by a reader) comes back as it is, contents and all.
    HANDLE handle = platform::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                 MDN_AIRDATA_SIZE, MDN_AIRDATA_NAME);
    void* mapped = nullptr;
    if (handle != nullptr) {
        // Fails, rather than reaching past the region, when an existing region is smaller.
        mapped = platform::MapViewOfFile(handle, FILE_MAP_ALL_ACCESS, 0, 0, MDN_AIRDATA_SIZE);
    }
    if (handle != nullptr && mapped != nullptr) {
        mapping = handle;
        view = static_cast<MdnAirDataBlock*>(mapped);
        return true;
    }
    if (handle != nullptr)
        platform::CloseHandle(handle);
    return false;
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

}  // namespace airdata
