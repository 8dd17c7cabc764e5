// Fake events and waits with real time limits: a wait blocks the calling thread until its
// object is signalled (an event set, a thread ended) or the time is up. The current process's
// pseudo-handle is never signalled.
#include <pthread.h>
#include <time.h>

#include <map>

#include "area.h"
#include "platform/kernel.h"
#include "waitables.h"

namespace fake {
namespace {

struct Event {
    bool manual_reset = false;
    bool signaled = false;
};

pthread_mutex_t wait_mutex = PTHREAD_MUTEX_INITIALIZER;
pthread_cond_t wait_condition;
std::map<uint32_t, Event> events;  // under wait_mutex
uint32_t next_event = 0x9000;

struct ConditionSetUp {
    ConditionSetUp() {
        pthread_condattr_t attributes;
        pthread_condattr_init(&attributes);
        pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
        pthread_cond_init(&wait_condition, &attributes);
        pthread_condattr_destroy(&attributes);
    }
} condition_set_up;

struct WaitLock {
    WaitLock() { pthread_mutex_lock(&wait_mutex); }
    ~WaitLock() { pthread_mutex_unlock(&wait_mutex); }
    WaitLock(const WaitLock&) = delete;
    WaitLock& operator=(const WaitLock&) = delete;
};

uint32_t Key(HANDLE handle) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}

bool CloseEvent(HANDLE handle) {
    const WaitLock lock;
    return events.erase(Key(handle)) != 0;
}
CloseHook close_events(CloseEvent);
ResetHook reset_events([] {
    const WaitLock lock;
    events.clear();
});

bool IsProcess(HANDLE handle) {
    return handle == platform::GetCurrentProcess();
}

// Under wait_mutex: WAIT_OBJECT_0 when `handle` is signalled now (an auto-reset event is
// consumed), WAIT_TIMEOUT when not yet, WAIT_FAILED for no waitable object.
DWORD Poll(HANDLE handle) {
    auto event = events.find(Key(handle));
    if (event != events.end()) {
        if (!event->second.signaled)
            return WAIT_TIMEOUT;
        if (!event->second.manual_reset)
            event->second.signaled = false;
        return WAIT_OBJECT_0;
    }
    if (IsProcess(handle))
        return WAIT_TIMEOUT;
    switch (WaitStateOf(handle)) {
        case ThreadWaitState::Running:
            return WAIT_TIMEOUT;
        case ThreadWaitState::Ended:
            return WAIT_OBJECT_0;
        case ThreadWaitState::NotAThread:
            break;
    }
    return WAIT_FAILED;
}

timespec Deadline(DWORD milliseconds) {
    timespec at{};
    clock_gettime(CLOCK_MONOTONIC, &at);
    at.tv_sec += static_cast<time_t>(milliseconds / 1000);
    at.tv_nsec += static_cast<long>(milliseconds % 1000) * 1000000L;
    if (at.tv_nsec >= 1000000000L) {
        at.tv_nsec -= 1000000000L;
        ++at.tv_sec;
    }
    return at;
}

// Under wait_mutex.
DWORD Wait(HANDLE handle, DWORD milliseconds) {
    const timespec deadline = Deadline(milliseconds);
    for (;;) {
        const DWORD result = Poll(handle);
        if (result != WAIT_TIMEOUT || milliseconds == 0)
            return result;
        if (milliseconds == INFINITE) {
            pthread_cond_wait(&wait_condition, &wait_mutex);
        } else if (pthread_cond_timedwait(&wait_condition, &wait_mutex, &deadline) != 0) {
            return Poll(handle);
        }
    }
}

// SetEvent and ResetEvent: the event's state, and the waiters woken when it is set.
BOOL MarkEvent(const char* call, HANDLE event, bool signaled) {
    if (!OnFakeThread())
        Log(call, event);
    const WaitLock lock;
    auto it = events.find(Key(event));
    if (it == events.end())
        return FALSE;
    it->second.signaled = signaled;
    if (signaled)
        pthread_cond_broadcast(&wait_condition);
    return TRUE;
}

}  // namespace

void WakeWaiters() {
    const WaitLock lock;
    pthread_cond_broadcast(&wait_condition);
}

}  // namespace fake

namespace platform {

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manual_reset, BOOL initial_state, LPCSTR name) {
    const fake::WaitLock lock;
    const uint32_t handle = fake::next_event;
    fake::next_event += 4;
    fake::events[handle] = fake::Event{manual_reset != FALSE, initial_state != FALSE};
    if (!fake::OnFakeThread())
        fake::Log("CreateEventA", manual_reset, initial_state, name);
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle));
}

BOOL SetEvent(HANDLE event) {
    return fake::MarkEvent("SetEvent", event, true);
}

BOOL ResetEvent(HANDLE event) {
    return fake::MarkEvent("ResetEvent", event, false);
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    if (!fake::OnFakeThread())
        fake::Log("WaitForSingleObject", handle, milliseconds);
    const fake::WaitLock lock;
    return fake::Wait(handle, milliseconds);
}

void SetEventAndExitThread(HANDLE event, DWORD code) {
    SetEvent(event);
    fake::SetOwnExitCode(code);
    pthread_exit(nullptr);
}

// Not logged, like the multimedia clock: the workers read it on every pass.
DWORD GetTickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<DWORD>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                              static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

}  // namespace platform
