// What the fake's waits need to know of its threads (threads.cpp) and what they share with them
// (waits.cpp): one lock and one condition for every fake wait, so that an event set and a
// thread ended both wake whoever waits.
#pragma once
#include "platform/win_types.h"

namespace fake {

// Broadcast after any change a wait may be waiting for; takes the wait lock briefly.
void WakeWaiters();

enum class ThreadWaitState { NotAThread, Running, Ended };
ThreadWaitState WaitStateOf(HANDLE thread);
// True on a thread the fake created (its waits are not logged: their place in the call log
// against the test's own thread is a matter of timing).
bool OnFakeThread();
// Records the calling fake thread's exit code before it ends itself.
void SetOwnExitCode(DWORD code);

}  // namespace fake
