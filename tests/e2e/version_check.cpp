// Reads FileVersion and ProductVersion of each file named on the command line as
// PATH=EXPECTED, through GetFileVersionInfoA as any program would, and prints each check.
// Exit code: the number of failed checks.
#include <windows.h>

#include <cstdio>
#include <string>

#include "sim_paths.h"

namespace {

int failures = 0;

void Check(bool ok, const std::string& what, const std::string& expected, const std::string& got) {
    if (ok) {
        std::printf("ok   %s: %s\n", what.c_str(), got.c_str());
    } else {
        std::printf("FAIL %s: expected %s, got %s\n", what.c_str(), expected.c_str(), got.c_str());
        ++failures;
    }
}

std::string Query(const std::string& block, const char* name) {
    void* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &translation, &length) ||
        length < 4) {
        return "(no translation)";
    }
    const DWORD entry = *static_cast<const DWORD*>(translation);
    char query[96];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s",
                  static_cast<unsigned>(LOWORD(entry)), static_cast<unsigned>(HIWORD(entry)), name);
    void* value = nullptr;
    if (!VerQueryValueA(block.data(), query, &value, &length) || value == nullptr) {
        return "(none)";
    }
    return static_cast<const char*>(value);
}

void CheckFile(const std::string& path, const std::string& expected) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) {
        Check(false, path + " version resource", "present", "missing");
        return;
    }
    std::string block(size, '\0');
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) {
        Check(false, path + " version resource", "readable", "unreadable");
        return;
    }
    const std::string file_version = Query(block, "FileVersion");
    const std::string product_version = Query(block, "ProductVersion");
    Check(file_version == expected, path + " FileVersion", expected, file_version);
    Check(product_version == expected, path + " ProductVersion", expected, product_version);
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t equals = arg.rfind('=');
        if (equals == std::string::npos) {
            Check(false, "argument " + arg, "PATH=EXPECTED", arg);
            continue;
        }
        CheckFile(sim::WindowsPath(arg.substr(0, equals)), arg.substr(equals + 1));
    }
    return failures;
}
