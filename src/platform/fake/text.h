// Text helpers shared by the fake platform's areas.
#pragma once
#include <algorithm>
#include <cctype>
#include <string>

namespace fake {

// Windows compares module, registry and file names without regard to case.
inline std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace fake
