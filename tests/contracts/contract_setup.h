// What only a test can arrange, one implementation per port: fake/setup.cpp scripts the fake,
// win32/setup.cpp makes the real thing. Everything else a contract test does goes through the
// platform:: calls alone, so the same source holds the fake to what Windows does.
#pragma once
#include <string>

#include "platform/win_types.h"

namespace contract {

enum class Port { kFake, kWindows };
extern const Port kPort;

// Before each test: a fresh world (the fake's Reset; on Windows, what earlier tests left made
// to go away).
void Fresh();

// A top-level window of `class_name` owned by the calling thread, made now. On Windows it is
// hidden and destroyed by the next Fresh().
HWND MakeWindow(const char* class_name);

// A Windows folder of the test's own that exists and is empty after Fresh(), without a
// trailing backslash.
std::string Folder();
// Writes a whole file (bytes as given) and reads one back; nothing when it cannot be read.
void WriteTextFile(const std::string& path, const std::string& content);
bool ReadTextFile(const std::string& path, std::string& content);

// A registry key below HKEY_LOCAL_MACHINE that the tests may create and fill; Fresh() removes
// it with everything below it.
extern const char* const kTestKey;

// A loaded module of the process and one function it exports (on Windows, KERNEL32 and
// GetTickCount; on the fake, the same names made so).
extern const char* const kLoadedModule;
extern const char* const kItsExport;
void ArrangeLoadedModule();

}  // namespace contract
