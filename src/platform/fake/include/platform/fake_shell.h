// Control of the fake SHELL32 services (platform/shell.h): the folder browser and its COM
// set-up. ShellExecuteExA opens nothing; the call log shows what it was asked to open.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/fake_calls.h"

namespace fake {

// What the next folder browser returns: a Windows path, or nothing for Cancel.
void QueueFolderChoice(std::optional<std::string> path);
// The status texts the browser's callback set while it ran.
std::vector<std::string> FolderBrowserStatusTexts();
// What CoInitializeEx answers (S_OK unless set): S_FALSE when COM is already there,
// RPC_E_CHANGED_MODE when the thread is in the multithreaded apartment.
void SetComInitializeResult(HRESULT result);

}  // namespace fake
