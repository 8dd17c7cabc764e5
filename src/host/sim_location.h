// Where the simulator is installed and whether its version is one the module runs on.
#pragma once
namespace host {

// Registry value, or the user's choice through the prompt and the folder browser. True
// when the simulator folder holds fs9.exe at the end.
bool LocateSimulator();

// The simulator version texts the module runs on.
bool IsAcceptedVersion(const char* text);

}  // namespace host
