// The module's version digits, read from a version resource.
#include "runtime/module_version.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "runtime/module_values.h"
#include "platform/version.h"
#include "platform/kernel.h"

namespace runtime {
namespace {

char version_digits[4] = {0, 0, 0, 0};

}  // namespace

bool ReadFileVersionText(const char* file, char* out) {
    DWORD handle = 0;
    const DWORD size = platform::GetFileVersionInfoSizeA(file, &handle);
    if (size == 0)
        return false;
    std::unique_ptr<char[]> block(new (std::nothrow) char[size]);
    if (!block || !platform::GetFileVersionInfoA(file, 0, size, block.get()))
        return false;

    void* translation = nullptr;
    UINT length = 0;
    if (!platform::VerQueryValueA(block.get(), "\\VarFileInfo\\Translation", &translation,
                                  &length) ||
        translation == nullptr || length < 4) {
        return false;
    }
    uint32_t entry;
    std::memcpy(&entry, translation, 4);
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\FileVersion",
                  static_cast<unsigned>(entry & 0xFFFF), static_cast<unsigned>(entry >> 16));
    void* value = nullptr;
    if (!platform::VerQueryValueA(block.get(), query, &value, &length) || value == nullptr) {
        return false;
    }
    const char* text = static_cast<const char*>(value);
    // The value's length bounds the text, so a short or unterminated text is never overread.
    const size_t text_length = strnlen(text, length);
    const size_t n = text_length < kPathSize ? text_length : kPathSize - 1;
    std::memcpy(out, text, n);
    out[n] = '\0';
    return true;
}

bool ReadVersionText(HMODULE module, char* out) {
    char file[kPathSize] = "MdnSrv.dll";
    if (module != nullptr) {
        const DWORD length = platform::GetModuleFileNameA(module, file, kPathSize);
        if (length == 0)
            return false;
        file[kPathSize - 1] = '\0';  // older systems do not terminate a cut name
    }
    char text[kPathSize];
    if (!ReadFileVersionText(file, text))
        return false;
    // Digits at fixed places: each component of the text is one digit.
    const size_t text_length = std::strlen(text);
    for (size_t i = 0; i < 4; ++i) {
        version_digits[i] = 2 * i < text_length ? text[2 * i] : '\0';
    }
    if (out != nullptr)
        std::memcpy(out, text, text_length + 1);
    return true;
}

const char* VersionDigits() {
    return version_digits;
}

uint32_t PackedVersion() {
    uint32_t packed = 0;
    for (char digit : version_digits) {
        packed = (packed << 8) | static_cast<uint8_t>(digit - '0');
    }
    return packed;
}

void ResetVersionDigits() {
    std::memset(version_digits, 0, sizeof version_digits);
}

}  // namespace runtime
