// Fake named file mappings backed by the paging file: named regions shared by everyone in the
// test process, as one machine's processes share them. A region lives while a handle, a view
// or a reader (another process, played by the test) holds it. Names are case-sensitive, as
// kernel object names are.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "area.h"
#include "platform/fake_kernel.h"
#include "platform/kernel.h"
#include "platform/win_errors.h"
#include "platform/win_memory.h"

namespace fake {
namespace {

constexpr size_t kPage = 4096;
constexpr DWORD kAllocationGranularity = 65536;
constexpr DWORD kFileMapWrite = 0x0002;
constexpr DWORD kPageReadOnly = 0x02;
constexpr DWORD kErrorFileNotFound = 2;
constexpr DWORD kErrorInvalidHandle = 6;
constexpr DWORD kErrorNotEnoughMemory = 8;
constexpr DWORD kErrorInvalidParameter = 87;

// Page-aligned and zero-filled, as the system hands out a new region.
struct Region {
    explicit Region(size_t n, DWORD page_protection)
        : size(n),
          protect(page_protection),
          bytes(static_cast<uint8_t*>(std::aligned_alloc(kPage, (n + kPage - 1) / kPage * kPage))) {
        if (bytes)
            std::memset(bytes, 0, (n + kPage - 1) / kPage * kPage);
    }
    ~Region() { std::free(bytes); }
    Region(const Region&) = delete;
    Region& operator=(const Region&) = delete;
    size_t size;
    DWORD protect;
    uint8_t* bytes;
};

struct State {
    DWORD last_error = 0;
    uint32_t next_handle = 0x00D10000;
    std::map<std::string, std::weak_ptr<Region>> names;
    std::map<uint32_t, std::shared_ptr<Region>> handles;
    std::multimap<uintptr_t, std::shared_ptr<Region>> views;  // by view address
    std::map<std::string, std::shared_ptr<Region>> readers;
};
std::mutex state_mutex;
State state;

Failable failable_mappings({"CreateFileMappingA", "MapViewOfFile"});
ResetHook reset_mappings([] {
    std::lock_guard<std::mutex> lock(state_mutex);
    state = State{};
});

bool CloseMapping(HANDLE handle) {
    std::lock_guard<std::mutex> lock(state_mutex);
    return state.handles.erase(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle))) == 1;
}
CloseHook close_mappings(CloseMapping);

// The live region of that name, or null. Caller holds the lock.
std::shared_ptr<Region> Named(const std::string& name) {
    auto it = state.names.find(name);
    if (it == state.names.end())
        return nullptr;
    // The name goes with the last handle, as a named object's does; a view keeps only the
    // bytes, so the name then makes a new region.
    auto region = it->second.lock();
    const auto holds = [&](const auto& entry) { return entry.second == region; };
    if (region && (std::any_of(state.handles.begin(), state.handles.end(), holds) ||
                   std::any_of(state.readers.begin(), state.readers.end(), holds))) {
        return region;
    }
    state.names.erase(it);
    return nullptr;
}

}  // namespace

// GetLastError answers it too.
void SetMappingError(DWORD error) {
    state.last_error = error;
    SetLastErrorCode(error);
}

DWORD LastMappingError() {
    std::lock_guard<std::mutex> lock(state_mutex);
    return state.last_error;
}

uint8_t* OpenMappingAsReader(const std::string& name, size_t size) {
    std::lock_guard<std::mutex> lock(state_mutex);
    auto region = Named(name);
    if (!region) {
        region = std::make_shared<Region>(size, PAGE_READWRITE);
        if (!region->bytes)
            return nullptr;
        state.names[name] = region;
    }
    state.readers[name] = region;
    return region->bytes;
}

void CloseMappingAsReader(const std::string& name) {
    std::lock_guard<std::mutex> lock(state_mutex);
    state.readers.erase(name);
}

std::optional<std::vector<uint8_t>> MappingContents(const std::string& name) {
    std::lock_guard<std::mutex> lock(state_mutex);
    auto region = Named(name);
    if (!region)
        return std::nullopt;
    return std::vector<uint8_t>(region->bytes, region->bytes + region->size);
}

int OpenMappingHandleCount() {
    std::lock_guard<std::mutex> lock(state_mutex);
    return static_cast<int>(state.handles.size());
}

int MappedViewCount() {
    std::lock_guard<std::mutex> lock(state_mutex);
    return static_cast<int>(state.views.size());
}

}  // namespace fake

namespace platform {

HANDLE CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES security, DWORD protect,
                          DWORD size_high, DWORD size_low, LPCSTR name) {
    const std::string call =
        fake::Log("CreateFileMappingA", file, security, protect, size_high, size_low, name);
    using namespace fake;
    std::lock_guard<std::mutex> lock(state_mutex);
    if (Failing(call)) {
        SetMappingError(kErrorNotEnoughMemory);
        return nullptr;
    }
    // Only the paging file backs regions here; a paging-file region needs a size.
    if (file != INVALID_HANDLE_VALUE) {
        SetMappingError(kErrorInvalidHandle);
        return nullptr;
    }
    if (size_high != 0 || size_low == 0 ||
        (protect != PAGE_READWRITE && protect != kPageReadOnly)) {
        SetMappingError(kErrorInvalidParameter);
        return nullptr;
    }
    std::shared_ptr<Region> region = name ? Named(name) : nullptr;
    if (region) {
        // The existing region, unchanged in size and content.
        SetMappingError(ERROR_ALREADY_EXISTS);
    } else {
        region = std::make_shared<Region>(size_low, protect);
        if (!region->bytes) {
            SetMappingError(kErrorNotEnoughMemory);
            return nullptr;
        }
        if (name)
            state.names[name] = region;
        SetMappingError(ERROR_SUCCESS);
    }
    const uint32_t handle = state.next_handle;
    state.next_handle += 4;
    state.handles[handle] = region;
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle));
}

HANDLE OpenFileMappingA(DWORD access, BOOL inherit, LPCSTR name) {
    fake::Log("OpenFileMappingA", fake::Hex(access), inherit, name);
    using namespace fake;
    std::lock_guard<std::mutex> lock(state_mutex);
    // LastMappingError stays CreateFileMappingA's; GetLastError answers this call.
    if (name == nullptr) {
        SetLastErrorCode(kErrorInvalidParameter);
        return nullptr;
    }
    std::shared_ptr<Region> region = Named(name);
    if (!region) {
        SetLastErrorCode(kErrorFileNotFound);
        return nullptr;
    }
    SetLastErrorCode(ERROR_SUCCESS);
    const uint32_t handle = state.next_handle;
    state.next_handle += 4;
    state.handles[handle] = region;
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle));
}

LPVOID MapViewOfFile(HANDLE mapping, DWORD access, DWORD offset_high, DWORD offset_low,
                     SIZE_T size) {
    const std::string call =
        fake::Log("MapViewOfFile", mapping, access, offset_high, offset_low, size);
    using namespace fake;
    std::lock_guard<std::mutex> lock(state_mutex);
    if (Failing(call))
        return nullptr;
    auto it = state.handles.find(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(mapping)));
    if (it == state.handles.end())
        return nullptr;
    const std::shared_ptr<Region>& region = it->second;
    if ((access & kFileMapWrite) && region->protect != PAGE_READWRITE)
        return nullptr;
    // A view starts on an allocation-granularity boundary and never reaches past the region.
    if (offset_high != 0 || offset_low % kAllocationGranularity != 0)
        return nullptr;
    if (offset_low >= region->size)
        return nullptr;
    if (size == 0)
        size = region->size - offset_low;
    if (size > region->size - offset_low)
        return nullptr;
    uint8_t* view = region->bytes + offset_low;
    state.views.emplace(reinterpret_cast<uintptr_t>(view), region);
    return view;
}

BOOL UnmapViewOfFile(LPCVOID view) {
    fake::Log("UnmapViewOfFile", view);
    using namespace fake;
    std::lock_guard<std::mutex> lock(state_mutex);
    auto it = state.views.find(reinterpret_cast<uintptr_t>(view));
    if (it == state.views.end())
        return FALSE;
    state.views.erase(it);
    return TRUE;
}

}  // namespace platform
