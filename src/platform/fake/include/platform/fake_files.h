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
// The last-write time GetFileAttributesExA reports for the file, in UTC.
void SetLastWriteTime(const std::string& windows_path, const SYSTEMTIME& utc);
// Makes a file or folder unreadable and unwritable for OpenTextFile (as a locked file). For
// CreateFileA a locked file is held by another program (sharing violation) and a locked folder
// refuses everything below it (access denied).
void SetFileLocked(const std::string& windows_path, bool locked);
// While set, every WriteFile fails with ERROR_DISK_FULL and writes nothing.
void SetDiskFull(bool full);
// While held, WriteFile on every thread but the one that asked waits inside the call until
// released: a line caught half-way on another thread. WritesHeld: the calls waiting so. Reset
// releases them.
void HoldOtherThreadsWrites(bool hold);
int WritesHeld();
// What SHGetFolderPathA answers for CSIDL_LOCAL_APPDATA; nothing makes it fail. The default is
// "C:\\Users\\user\\AppData\\Local".
void SetLocalAppDataFolder(std::optional<std::string> windows_path);
// Handles from CreateFileA not yet closed.
int OpenFileHandleCount();

}  // namespace fake
