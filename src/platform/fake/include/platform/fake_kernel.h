// Control of the fake KERNEL32 services (platform/kernel.h): loaded modules and their exports,
// the process's memory, the processor's features, the local atom table and named file
// mappings. The files GetFileAttributesA and GetPrivateProfileStringA see are set up through
// fake_files.h; threads are created through the C run-time (fake_crt.h).
//
// Calls Fail() can fail:
//   ReadProcessMemory, WriteProcessMemory   FALSE, nothing copied
//   CreateFileMappingA                      null, LastMappingError() ERROR_NOT_ENOUGH_MEMORY
//   MapViewOfFile                           null
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/fake_calls.h"

namespace fake {

// ---- modules and exports ------------------------------------------------------------------

// Makes `name` a loaded module (compared without regard to case) with a Windows file path.
HMODULE AddModule(const std::string& name, const std::string& file_path = "");
void RemoveModule(const std::string& name);
void AddExport(HMODULE module, const std::string& export_name, const void* address);
// The program's own file, which GetModuleFileNameA(null) answers; Reset() returns to
// "C:\\Program Files\\Test\\test.exe".
void SetProgramPath(const std::string& windows_path);

// ---- the process's memory -----------------------------------------------------------------

// VirtualQuery reports [address, address + size) as a read-only region of its own.
void SetNotWritable(const void* address, size_t size);
// VirtualQuery reports the host process's real mappings; a range marked here is reported as
// executable code besides (a test's buffer standing in for a simulator module's code).
// Reset() forgets the marks.
void MarkAsCode(const void* address, size_t size);

// ---- the processor's features -------------------------------------------------------------

// What IsProcessorFeaturePresent answers for `feature`. A fresh machine has SSE2
// (PF_XMMI64_INSTRUCTIONS_AVAILABLE) and nothing else; Reset() returns to that.
void SetProcessorFeature(DWORD feature, bool present);

// ---- sleeping -----------------------------------------------------------------------------

// Makes Sleep last whole timer ticks of `milliseconds`, as Windows does (15.6 ms unless a
// program asks for finer ticks); 0, the default, sleeps as long as asked. SleepCount: the
// Sleep calls since Reset.
void SetSleepTick(DWORD milliseconds);
unsigned SleepCount();

// ---- the local atom table -----------------------------------------------------------------

// Atoms held in the local atom table, and the reference count of one (0 when not held).
int AtomCount();
int AtomReferenceCount(ATOM atom);

// ---- named file mappings ------------------------------------------------------------------

// What the last CreateFileMappingA left as its last error: ERROR_ALREADY_EXISTS when it handed
// back an existing region, ERROR_SUCCESS when it made a new one.
DWORD LastMappingError();
// Opens the named region as another process would (creating it, zero-filled, with `size`
// bytes when it does not exist yet) and keeps it open until CloseMappingAsReader or Reset.
// The region's bytes, for the test to fill and read.
uint8_t* OpenMappingAsReader(const std::string& name, size_t size);
void CloseMappingAsReader(const std::string& name);
// A copy of the named region's bytes, or nothing when no region of that name exists.
std::optional<std::vector<uint8_t>> MappingContents(const std::string& name);
// Mapping handles not yet closed, and views not yet unmapped.
int OpenMappingHandleCount();
int MappedViewCount();

}  // namespace fake
