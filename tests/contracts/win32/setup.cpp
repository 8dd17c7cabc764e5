// The contract tests' set-up on Windows: real windows, files below the temporary folder, a
// registry key of the tests' own.
#include <cstdio>
#include <string>
#include <vector>

#include "contract_setup.h"

namespace contract {
namespace {

std::vector<HWND>& Made() {
    static std::vector<HWND> windows;
    return windows;
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(folder.c_str());
}

void RemoveKey(HKEY parent, const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char name[256];
    // Each pass removes the first subkey, so the index stays 0.
    while (::RegEnumKeyA(key, 0, name, sizeof name) == ERROR_SUCCESS)
        RemoveKey(key, name);
    ::RegCloseKey(key);
    ::RegDeleteKeyA(parent, path.c_str());
}

}  // namespace

const Port kPort = Port::kWindows;
const char* const kTestKey = "Software\\Meridane\\ContractTests";
const char* const kLoadedModule = "KERNEL32.dll";
const char* const kItsExport = "GetTickCount";

void Fresh() {
    for (HWND window : Made())
        ::DestroyWindow(window);
    Made().clear();
    RemoveTree(Folder());
    ::CreateDirectoryA(Folder().c_str(), nullptr);
    RemoveKey(HKEY_LOCAL_MACHINE, kTestKey);
}

HWND MakeWindow(const char* class_name) {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = ::DefWindowProcA;
    window_class.hInstance = ::GetModuleHandleA(nullptr);
    window_class.lpszClassName = class_name;
    ::RegisterClassA(&window_class);  // fails harmlessly when the class is there already
    HWND window = ::CreateWindowExA(0, class_name, "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                    nullptr, window_class.hInstance, nullptr);
    if (window != nullptr)
        Made().push_back(window);
    return window;
}

std::string Folder() {
    static const std::string folder = [] {
        char temp[MAX_PATH] = "";
        const DWORD n = ::GetTempPathA(sizeof temp, temp);
        std::string path(temp, n > 0 && n < sizeof temp ? n : 0);
        if (!path.empty() && path.back() == '\\')
            path.pop_back();
        return path + "\\mdn-contracts-" + std::to_string(::GetCurrentProcessId());
    }();
    return folder;
}

void WriteTextFile(const std::string& path, const std::string& content) {
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
    }
}

bool ReadTextFile(const std::string& path, std::string& content) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return false;
    content.clear();
    char block[512];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0)
        content.append(block, n);
    std::fclose(f);
    return true;
}

void ArrangeLoadedModule() {}

}  // namespace contract
