// Owner types for every kind of handle the module releases: one type per kind, tied to its
// release call, so a handle is released on every path and exactly once.
#pragma once
#include <cstdio>
#include <utility>

#include "platform/kernel.h"
#include "platform/registry.h"
#include "platform/user.h"

namespace runtime {

template <class H>
constexpr H NullHandle() {
    return H{};
}

// Owns one handle of type H, released by Release unless it is the kind's empty value: null for
// most kinds, INVALID_HANDLE_VALUE for what CreateFileA hands out.
template <class H, void (*Release)(H), H (*Empty)() = &NullHandle<H>>
class UniqueOwner {
  public:
    UniqueOwner() = default;
    explicit UniqueOwner(H handle) : handle_(handle) {}
    ~UniqueOwner() { reset(); }
    UniqueOwner(UniqueOwner&& other) noexcept : handle_(other.release()) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept {
        reset(other.release());
        return *this;
    }

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != Empty(); }
    // Gives the handle up without releasing it.
    H release() { return std::exchange(handle_, Empty()); }
    void reset(H handle = Empty()) {
        const H old = std::exchange(handle_, handle);
        if (old != Empty())
            Release(old);
    }
    // For calls that hand a handle out through a pointer: whatever was owned is released.
    H* put() {
        reset();
        return &handle_;
    }

  private:
    H handle_ = Empty();
};

namespace release {
inline void File(FILE* file) {
    std::fclose(file);
}
inline void Handle(HANDLE handle) {
    platform::CloseHandle(handle);
}
inline void View(void* view) {
    platform::UnmapViewOfFile(view);
}
inline void Key(HKEY key) {
    platform::RegCloseKey(key);
}
inline void Hook(HHOOK hook) {
    platform::UnhookWindowsHookEx(hook);
}
}  // namespace release

inline HANDLE InvalidHandle() {
    return INVALID_HANDLE_VALUE;
}

using UniqueFile = UniqueOwner<FILE*, &release::File>;
// Thread handles and file mappings: both are closed by CloseHandle, and null when missing.
using UniqueHandle = UniqueOwner<HANDLE, &release::Handle>;
// Files opened by CreateFileA, which says it failed with INVALID_HANDLE_VALUE, not null.
using UniqueFileHandle = UniqueOwner<HANDLE, &release::Handle, &InvalidHandle>;
using UniqueView = UniqueOwner<void*, &release::View>;
using UniqueKey = UniqueOwner<HKEY, &release::Key>;
using UniqueHook = UniqueOwner<HHOOK, &release::Hook>;

}  // namespace runtime
