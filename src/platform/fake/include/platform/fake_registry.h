// Control of the fake ADVAPI32 registry (platform/registry.h): keys by path below
// HKEY_LOCAL_MACHINE, compared without regard to case, values as raw bytes.
//
// Calls Fail() can fail:
//   RegOpenKeyExA, RegCreateKeyExA   ERROR_ACCESS_DENIED, no key
#pragma once
#include <optional>
#include <string>

#include "platform/fake_calls.h"

namespace fake {

// Value bytes are stored exactly as given: no terminating NUL is added.
void SetRegistryValue(const std::string& key, const std::string& name, const std::string& bytes);
std::optional<std::string> RegistryValue(const std::string& key, const std::string& name);

}  // namespace fake
