// Fake threads: real POSIX threads, so a test sees real concurrency. TerminateThread really
// ends the thread (cancellation at its next sleep or wait) and waits until it has.
#include <pthread.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>

#include "platform/crt.h"
#include "area.h"
#include "platform/fake_crt.h"
#include "platform/kernel.h"
#include "waitables.h"

namespace fake {
namespace {

struct Thread {
    pthread_t thread{};
    platform::ThreadStart start = nullptr;
    void* argument = nullptr;
    std::atomic<bool> running{true};
    std::atomic<DWORD> exit_code{STILL_ACTIVE};
    bool joined = false;
};

thread_local Thread* current = nullptr;

struct State {
    uint32_t next_handle = 0x7000;
    std::map<uint32_t, std::shared_ptr<Thread>> threads;
};
std::mutex state_mutex;
State state;

Failable failable_threads({"_beginthreadex"});

}  // namespace

std::atomic<DWORD> sleep_tick{0};
std::atomic<unsigned> sleeps{0};

namespace {

ResetHook reset_sleep([] {
    sleep_tick = 0;
    sleeps = 0;
});

struct RunningGuard {
    Thread* t;
    ~RunningGuard() {
        t->running = false;
        WakeWaiters();
    }
};

void* Trampoline(void* raw) {
    auto* holder = static_cast<std::shared_ptr<Thread>*>(raw);
    std::shared_ptr<Thread> t = *holder;
    delete holder;
    current = t.get();
    RunningGuard guard{t.get()};
    const unsigned code = t->start(t->argument);
    t->exit_code = code;
    return nullptr;
}

std::shared_ptr<Thread> Find(HANDLE handle) {
    std::lock_guard<std::mutex> lock(state_mutex);
    auto it = state.threads.find(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle)));
    return it == state.threads.end() ? nullptr : it->second;
}

bool CloseThread(HANDLE handle) {
    std::shared_ptr<Thread> t;
    {
        std::lock_guard<std::mutex> lock(state_mutex);
        auto it = state.threads.find(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle)));
        if (it == state.threads.end())
            return false;
        t = it->second;
        state.threads.erase(it);
    }
    // Like Windows, closing the handle does not end the thread.
    if (!t->joined) {
        pthread_detach(t->thread);
        t->joined = true;
    }
    return true;
}
CloseHook close_threads(CloseThread);

}  // namespace

ThreadWaitState WaitStateOf(HANDLE handle) {
    const std::shared_ptr<Thread> t = Find(handle);
    if (!t)
        return ThreadWaitState::NotAThread;
    return t->running ? ThreadWaitState::Running : ThreadWaitState::Ended;
}

bool OnFakeThread() {
    return current != nullptr;
}

void SetOwnExitCode(DWORD code) {
    if (current != nullptr)
        current->exit_code = code;
}

void SetSleepTick(DWORD milliseconds) {
    sleep_tick = milliseconds;
}

unsigned SleepCount() {
    return sleeps.load();
}

int OpenThreadCount() {
    std::lock_guard<std::mutex> lock(state_mutex);
    return static_cast<int>(state.threads.size());
}

int RunningThreadCount() {
    std::lock_guard<std::mutex> lock(state_mutex);
    int n = 0;
    for (auto& [h, t] : state.threads)
        n += t->running ? 1 : 0;
    return n;
}

}  // namespace fake

namespace platform {

uintptr_t _beginthreadex(void*, unsigned stack_size, ThreadStart start, void* argument,
                         unsigned flags, unsigned* thread_id) {
    if (fake::Failing(fake::Log("_beginthreadex", stack_size, argument, flags)) || start == nullptr)
        return 0;
    auto t = std::make_shared<fake::Thread>();
    t->start = start;
    t->argument = argument;
    uint32_t handle;
    {
        std::lock_guard<std::mutex> lock(fake::state_mutex);
        handle = fake::state.next_handle;
        fake::state.next_handle += 4;
    }
    auto* holder = new std::shared_ptr<fake::Thread>(t);
    if (pthread_create(&t->thread, nullptr, fake::Trampoline, holder) != 0) {
        delete holder;
        return 0;
    }
    {
        std::lock_guard<std::mutex> lock(fake::state_mutex);
        fake::state.threads[handle] = t;
    }
    if (thread_id)
        *thread_id = handle;
    return handle;
}

HANDLE GetCurrentThread() {
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2));
}

DWORD GetCurrentThreadId() {
    return static_cast<DWORD>(syscall(SYS_gettid));
}
DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(getpid());
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
    fake::Log("SetThreadPriority", thread, priority);
    return TRUE;
}

BOOL GetExitCodeThread(HANDLE thread, DWORD* code) {
    fake::Log("GetExitCodeThread", thread);
    auto t = fake::Find(thread);
    if (!t || code == nullptr)
        return FALSE;
    *code = t->running ? STILL_ACTIVE : t->exit_code.load();
    return TRUE;
}

BOOL TerminateThread(HANDLE thread, DWORD code) {
    fake::Log("TerminateThread", thread, code);
    auto t = fake::Find(thread);
    if (!t)
        return FALSE;
    if (!t->joined) {
        pthread_cancel(t->thread);
        pthread_join(t->thread, nullptr);
        t->joined = true;
    }
    t->running = false;
    t->exit_code = code;
    return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
    fake::Log("CloseHandle", handle);
    return fake::CloseAnyHandle(handle) ? TRUE : FALSE;
}

void Sleep(DWORD milliseconds) {
    ++fake::sleeps;
    if (const DWORD tick = fake::sleep_tick.load(); tick != 0)
        milliseconds = (milliseconds + tick - 1) / tick * tick;
    // A cancellation point, as TerminateThread relies on.
    timespec ts{static_cast<time_t>(milliseconds / 1000),
                static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

}  // namespace platform
