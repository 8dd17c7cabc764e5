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
// What the main thread is doing, for the crash and time-limit reports: a stack of actions,
// the innermost current. SetLastAction replaces the innermost; an ActionScope adds one for
// its lifetime (a driver function, a module operation, a dispatched message), so once it
// returns the report names the action around it again, never a finished one. Only the
// thread given to TrackActionsOn records actions; on other threads these do nothing.
void TrackActionsOn(uint32_t thread_id);
void SetLastAction(const char* format, ...) __attribute__((format(printf, 1, 2)));
class ActionScope {
  public:
    explicit ActionScope(const char* format, ...) __attribute__((format(printf, 2, 3)));
    ~ActionScope();
    ActionScope(const ActionScope&) = delete;
    ActionScope& operator=(const ActionScope&) = delete;

  private:
    bool pushed_ = false;
};
// "innermost; within: outer; within: ..." (at most a few levels).
std::string LastAction();
// Writes text to stdout or stderr at once, through the handle: the C run-time's buffers are
// never flushed (to a pipe or file they would hold everything), as fs9.exe ends by
// TerminateProcess.
void WriteOut(const std::string& text, bool to_error);
// Newlines shown as \n.
std::string Escaped(const char* text);

}  // namespace fs9
