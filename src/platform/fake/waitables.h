// What the fake's waits need to know of its threads (threads.cpp) and what they share with them
// (waits.cpp): one lock and one condition for every fake wait, so that an event set, a thread
// ended and an exit queued to a thread all wake whoever waits.
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
// Marks the thread to end at its next alertable wait with `code`; false for no such thread.
bool RequestExit(HANDLE thread, DWORD code);
// On the calling fake thread: true, with its code recorded, when an exit was queued to it.
bool TakeExitRequest();

}  // namespace fake
