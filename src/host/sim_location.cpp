// Simulator location (registry, prompt, folder browser) and version resources.
#include "host/sim_location.h"

#include <strings.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "host/module_state.h"
#include "platform/kernel.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/user.h"
#include "platform/win_errors.h"
#include "platform/win_files.h"
#include "runtime/diag_log.h"
#include "runtime/message_boxes.h"
#include "runtime/owners.h"

namespace host {
namespace {

constexpr char kPrompt[] =
    "The system failed to locate Flight Simulator. You will be prompted to select\n"
    "the Flight Simulator 2004 installation folder.\n\nDo you want to proceed?";
constexpr char kBrowseTitle[] = "Select the Flight Simulator 2004 folder:";

void CopyText(char* destination, size_t size, const char* text) {
    std::snprintf(destination, size, "%s", text);
}

// Reads "EXE Path" into the simulator folder. The registry does not promise a terminator,
// so the folder is terminated here; a failed read leaves it empty.
bool ReadFolderValue(HKEY key, char* folder) {
    DWORD type = 0;
    DWORD size = kPathSize;
    if (platform::RegQueryValueExA(key, kSimulatorRegistryValue, nullptr, &type,
                                   reinterpret_cast<BYTE*>(folder), &size) != ERROR_SUCCESS) {
        folder[0] = '\0';
        return false;
    }
    folder[size < kPathSize ? size : kPathSize - 1] = '\0';
    return true;
}

int CALLBACK BrowseStatusCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM) {
    if (message == BFFM_SELCHANGED) {
        char path[kPathSize] = {};
        if (platform::SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path)) {
            platform::SendMessageA(dialog, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
        }
    }
    return 0;
}

// The browser's documentation asks for COM in a single-threaded apartment on the calling
// thread. A thread that already has it keeps it (S_FALSE, balanced all the same); one in the
// multithreaded apartment cannot change (RPC_E_CHANGED_MODE) and gets the classic browser.
class ComForBrowser {
  public:
    ComForBrowser()
        : result_(platform::CoInitializeEx(nullptr,
                                           COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComForBrowser() {
        if (SUCCEEDED(result_))
            platform::CoUninitialize();
    }
    ComForBrowser(const ComForBrowser&) = delete;
    ComForBrowser& operator=(const ComForBrowser&) = delete;

  private:
    HRESULT result_;
};

bool BrowseForFolder(char* folder) {
    const ComForBrowser com;
    char display_name[kPathSize] = {};
    BROWSEINFOA info{};
    info.hwndOwner = SimulatorWindow();
    info.pidlRoot = nullptr;
    info.pszDisplayName = display_name;
    info.lpszTitle = kBrowseTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    info.lpfn = BrowseStatusCallback;
    info.lParam = 0;
    PIDLIST_ABSOLUTE item = platform::SHBrowseForFolderA(&info);
    if (item == nullptr) {
        folder[0] = '\0';
        return false;
    }
    char path[kPathSize] = {};
    const bool converted = platform::SHGetPathFromIDListA(item, path) == TRUE;
    platform::ILFree(item);
    if (!converted)
        return false;
    path[kPathSize - 1] = '\0';
    CopyText(folder, kPathSize, path);
    return true;
}

// How the folder was found, for the diagnostic log (opened only once the folder is known).
char located_how[2 * kPathSize];

__attribute__((format(printf, 1, 2))) void SayHow(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(located_how, sizeof located_how, format, arguments);
    va_end(arguments);
}

void StoreFolder(const char* folder) {
    runtime::UniqueKey key;
    if (platform::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSimulatorRegistryKey, 0, nullptr, 0,
                                  KEY_WRITE, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        key.release();  // a failed call leaves no key to close
        return;
    }
    platform::RegSetValueExA(key.get(), kSimulatorRegistryValue, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(folder),
                             static_cast<DWORD>(std::strlen(folder) + 1));
}

}  // namespace

bool ReadRegisteredFolder(char* folder, REGSAM access) {
    runtime::UniqueKey key;
    if (platform::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSimulatorRegistryKey, 0, access, key.put()) !=
        ERROR_SUCCESS) {
        key.release();
        folder[0] = '\0';
        return false;
    }
    return ReadFolderValue(key.get(), folder);
}

bool IsSimulatorFolder(const char* folder) {
    char path[kPathSize + 16];
    std::snprintf(path, sizeof path, "%s\\fs9.exe", folder);
    const DWORD attributes = platform::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FindRegisteredSimulator() {
    char* folder = runtime::Values().simulator_folder;
    if (!ReadRegisteredFolder(folder)) {
        SayHow("registry value \"EXE Path\" missing or not readable");
        return false;
    }
    if (!IsSimulatorFolder(folder)) {
        SayHow("registry value \"EXE Path\" names a folder without fs9.exe: %s",
               runtime::LogText(folder, runtime::kLogTextLimit).c_str());
        return false;
    }
    SayHow("from the registry value \"EXE Path\"");
    return true;
}

bool AskForSimulatorFolder() {
    char* folder = runtime::Values().simulator_folder;
    for (;;) {
        char text[kPathSize];
        runtime::ComposeBoxText(text, sizeof text, kPrompt);
        if (platform::MessageBoxA(SimulatorWindow(), text, runtime::kErrorCaption,
                                  MB_YESNO | MB_TASKMODAL | MB_TOPMOST) != IDYES) {
            return false;  // the registry's answer stays the last word
        }
        folder[0] = '\0';
        if (!BrowseForFolder(folder))
            continue;
        if (!IsSimulatorFolder(folder))
            continue;
        StoreFolder(folder);
        SayHow("chosen in the folder browser and stored in the registry");
        return true;
    }
}

const char* SimulatorFolderFoundHow() {
    return located_how;
}

bool IsAcceptedVersion(const char* text) {
    static const char* const kKnown[] = {"9.01.040901.01", "9.00.030612.02", "9.01.040726.01",
                                         "9.01.040811.01"};
    for (const char* known : kKnown) {
        if (strcasecmp(text, known) == 0)
            return true;
    }
    return std::strncmp(text, "9.01", 4) == 0;
}

}  // namespace host
