// Text files the module writes at fixed Windows paths. The win32 port opens the path as it
// is; the fake maps it below a test's temporary folder.
#pragma once
#include <cstdio>

namespace platform {

// Opens a C stream with the C library's mode ("w", "a"); null on failure.
FILE* OpenTextFile(const char* path, const char* mode);

}  // namespace platform
