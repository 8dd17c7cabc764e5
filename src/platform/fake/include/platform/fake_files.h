// Control of the fake file system behind platform/files.h (OpenTextFile) and the file calls of
// platform/kernel.h (GetFileAttributesA, GetPrivateProfileStringA). Windows paths map below a
// per-process temporary folder: "C:\A\b.txt" -> <root>/C/A/b.txt.
#pragma once
#include <optional>
#include <string>

#include "platform/fake_calls.h"

namespace fake {

std::string HostPath(const std::string& windows_path);
void WriteFile(const std::string& windows_path, const std::string& content);
std::optional<std::string> ReadFile(const std::string& windows_path);
void MakeDirectory(const std::string& windows_path);
// Makes a file or folder unreadable and unwritable for OpenTextFile (as a locked file).
void SetFileLocked(const std::string& windows_path, bool locked);

}  // namespace fake
