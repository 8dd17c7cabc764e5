// Small helpers the end-to-end gauges share.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "sim_driver.h"

namespace e2e {

// True when `address` lies inside the image of `module`.
inline bool InImage(HMODULE module, const void* address) {
    if (module == nullptr)
        return false;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        reinterpret_cast<const uint8_t*>(module) + dos->e_lfanew);
    const uintptr_t base = reinterpret_cast<uintptr_t>(module);
    const uintptr_t at = reinterpret_cast<uintptr_t>(address);
    return at >= base && at < base + nt->OptionalHeader.SizeOfImage;
}

// The gauge's own reference arithmetic at 53-bit precision, as the module computes, also when
// the stand-in runs gauges in single precision (--fpu-single).
class ReferencePrecision {
  public:
    ReferencePrecision() {
        asm volatile("fnstcw %0" : "=m"(saved_));
        const uint16_t word = 0x027F;
        asm volatile("fldcw %0" : : "m"(word) : "memory");
    }
    ~ReferencePrecision() { asm volatile("fldcw %0" : : "m"(saved_) : "memory"); }
    ReferencePrecision(const ReferencePrecision&) = delete;
    ReferencePrecision& operator=(const ReferencePrecision&) = delete;

  private:
    uint16_t saved_;
};

inline const char* SettingOr(const SimDriver* d, const char* key, const char* fallback) {
    const char* value = d->Setting(key);
    return value ? value : fallback;
}

// The text of a box as the module composes it around a message.
inline void BoxText(char* out, size_t size, const char* message) {
    std::snprintf(out, size, "Meridane Service Module Ver. 5.3.0.1\n\n%s\n", message);
}

// The whole file, or `missing` when it cannot be opened.
inline std::string ReadFileBytes(const std::string& path, const char* missing = "") {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return missing;
    std::string content;
    char chunk[512];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        content.append(chunk, n);
    std::fclose(f);
    return content;
}

}  // namespace e2e
