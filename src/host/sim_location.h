// Where the simulator is installed and whether its version is one the module runs on.
#pragma once
#include "platform/win_registry.h"

namespace host {

// Under HKEY_LOCAL_MACHINE: the simulator's installation folder, without trailing backslash.
constexpr char kSimulatorRegistryKey[] =
    "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";
constexpr char kSimulatorRegistryValue[] = "EXE Path";

// The registry value alone, with no box: this runs at attach, under the loader lock. True when
// the simulator folder holds fs9.exe.
bool FindRegisteredSimulator();
// Asks the user (a Yes/No box owned by the simulator window, then the folder browser) until a
// folder holding fs9.exe is chosen, which is then stored in the registry, or the answer is No.
// The browser needs COM and may start threads, so this runs outside the loader lock, from the
// simulator's message loop.
bool AskForSimulatorFolder();
// How the simulator folder was found, or why it was not, in words.
const char* SimulatorFolderFoundHow();

// The folder that the registry value "EXE Path" names, as the module reads it at attach, into
// `folder` (kPathSize bytes). False, and the folder empty, when the key or value cannot be read.
// The module opens the key with every right, as it always has; the tools, which run with a
// manifest and without elevation (no registry virtualisation), are refused that and read with
// KEY_READ.
bool ReadRegisteredFolder(char* folder, REGSAM access = KEY_ALL_ACCESS);
// True when `folder` holds fs9.exe (a file, not a folder).
bool IsSimulatorFolder(const char* folder);

// The simulator version texts the module runs on.
bool IsAcceptedVersion(const char* text);

}  // namespace host
