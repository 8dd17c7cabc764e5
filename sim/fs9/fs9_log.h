// The run's log on stdout, the checks and their failure count. Safe from any thread.
#pragma once
#include <cstdint>
#include <string>

namespace fs9 {

// One line, stamped with the time since start: "[  2003 ms] text".
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
// "ok what: got" or "FAIL what: expected E, got G"; returns ok.
bool Check(bool ok, const char* what, const char* expected, const char* got);
bool CheckU32(const char* what, uint32_t expected, uint32_t got);
unsigned CheckCount();
unsigned Failures();
// What the stand-in was doing, for the crash and time-limit reports.
void SetLastAction(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string LastAction();
// Prints the last `count` lines again, under a heading.
void PrintTail(unsigned count);
// Newlines shown as \n.
std::string Escaped(const char* text);

}  // namespace fs9
