// Control of the fake VERSION services (platform/version.h): files' version resources.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/fake_calls.h"

namespace fake {

struct VersionResource {
    std::optional<std::string> file_version;  // no FileVersion text when empty
    bool has_translation = true;
    uint16_t language = 0x0409;
    uint16_t code_page = 0x04B0;
};
// Files are named as GetFileVersionInfoSizeA receives them (full path or bare name).
void SetVersionResource(const std::string& file, const VersionResource& resource);

}  // namespace fake
