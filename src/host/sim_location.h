// Where the simulator is installed and whether its version is one the module runs on.
#pragma once
namespace host {

// Under HKEY_LOCAL_MACHINE: the simulator's installation folder, without trailing backslash.
constexpr char kSimulatorRegistryKey[] =
    "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";
constexpr char kSimulatorRegistryValue[] = "EXE Path";

// Registry value, or the user's choice through the prompt and the folder browser. True
// when the simulator folder holds fs9.exe at the end.
bool LocateSimulator();

// The folder that the registry value "EXE Path" names, as the module reads it at attach, into
// `folder` (kPathSize bytes). False, and the folder empty, when the key or value cannot be read.
bool ReadRegisteredFolder(char* folder);
// True when `folder` holds fs9.exe (a file, not a folder).
bool IsSimulatorFolder(const char* folder);

// The simulator version texts the module runs on.
bool IsAcceptedVersion(const char* text);

}  // namespace host
