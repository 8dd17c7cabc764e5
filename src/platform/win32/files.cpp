// Text files at their real Windows paths.
#include "platform/files.h"

namespace platform {

FILE* OpenTextFile(const char* path, const char* mode) {
    return std::fopen(path, mode);
}

}  // namespace platform
