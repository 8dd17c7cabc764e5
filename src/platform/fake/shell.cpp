// Fake folder browser and document opening.
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>

#include "area.h"
#include "platform/fake_shell.h"
#include "platform/shell.h"

namespace fake {
namespace {

struct State {
    std::deque<std::optional<std::string>> choices;
    std::map<uint32_t, std::string> items;  // item list handle -> path
    uint32_t next_item = 0x00B00010;
    std::vector<std::string> status_texts;
    HRESULT com_result = S_OK;
} state;

ResetHook reset_shell([] { state = State{}; });

PIDLIST_ABSOLUTE MakeItem(const std::string& path) {
    const uint32_t h = state.next_item++;
    state.items[h] = path;
    return reinterpret_cast<PIDLIST_ABSOLUTE>(static_cast<uintptr_t>(h));
}

}  // namespace

void QueueFolderChoice(std::optional<std::string> path) {
    state.choices.push_back(path);
}
std::vector<std::string> FolderBrowserStatusTexts() {
    return state.status_texts;
}
void SetComInitializeResult(HRESULT result) {
    state.com_result = result;
}

}  // namespace fake

namespace platform {

PIDLIST_ABSOLUTE SHBrowseForFolderA(BROWSEINFOA* info) {
    fake::Log("SHBrowseForFolderA", info->hwndOwner, info->lpszTitle, info->ulFlags, info->lParam);
    if (fake::state.choices.empty())
        return nullptr;
    const std::optional<std::string> choice = fake::state.choices.front();
    fake::state.choices.pop_front();
    if (!choice)
        return nullptr;
    PIDLIST_ABSOLUTE item = fake::MakeItem(*choice);
    // The dialog tells its callback about the selection, as the real one does on opening.
    if (info->lpfn) {
        HWND dialog = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x00D1A100));
        info->lpfn(dialog, BFFM_SELCHANGED, reinterpret_cast<LPARAM>(item), info->lParam);
    }
    if (info->pszDisplayName) {
        const std::string& path = *choice;
        const size_t slash = path.find_last_of('\\');
        const std::string leaf = slash == std::string::npos ? path : path.substr(slash + 1);
        std::snprintf(info->pszDisplayName, MAX_PATH, "%s", leaf.c_str());
    }
    return item;
}

BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE item, LPSTR path) {
    fake::Log("SHGetPathFromIDListA", item);
    auto it = fake::state.items.find(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(item)));
    if (it == fake::state.items.end() || path == nullptr || it->second.size() >= MAX_PATH) {
        return FALSE;
    }
    std::memcpy(path, it->second.c_str(), it->second.size() + 1);
    return TRUE;
}

void ILFree(PIDLIST_ABSOLUTE item) {
    fake::Log("ILFree", item);
    fake::state.items.erase(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(item)));
}

BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) {
    fake::Log("ShellExecuteExA", info->cbSize, fake::Hex(info->fMask), info->hwnd, info->lpVerb,
              info->lpFile, info->lpParameters, info->lpDirectory, info->nShow);
    return TRUE;
}

HRESULT CoInitializeEx(LPVOID reserved, DWORD flags) {
    fake::Log("CoInitializeEx", reserved, flags);
    return fake::state.com_result;
}
void CoUninitialize() {
    fake::Log("CoUninitialize");
}

}  // namespace platform
