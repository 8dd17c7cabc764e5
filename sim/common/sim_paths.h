// Paths handed over from the Linux side: Wine maps its drive Z: to the root, so "/x/y" is
// "Z:\x\y". Anything else is taken as a Windows path already.
#pragma once
#include <string>

namespace sim {

inline std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/')
        return path;
    std::string out = "Z:";
    for (char c : path)
        out += c == '/' ? '\\' : c;
    return out;
}

}  // namespace sim
