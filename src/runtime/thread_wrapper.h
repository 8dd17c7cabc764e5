// The thread wrapper: one object per background loop. The loop runs one pass of its work
// function and then waits on its stop event until the next pass is due, counted from when the
// previous one was due, so a coarse system timer delays single passes but not the cadence.
// Stopping sets the event and waits, in real time, for the loop to leave between two passes;
// only a pass that has not come back within a second (stuck in a call into the simulator) is
// terminated, because termination can leave the simulator's own locks held for good.
#pragma once
#include "platform/crt.h"
#include "platform/kernel.h"
#include "runtime/owners.h"

namespace Thread {

template <class T>
class TThread {
  public:
    using WorkFunction = void (T::*)();
    // The exit code of a thread that stop had to terminate: not STILL_ACTIVE, which
    // GetExitCodeThread also answers for a thread that still runs, nor the 0 of a loop that
    // left when asked.
    static constexpr DWORD kTerminatedExitCode = 0x4D44E7E0;
    static_assert(kTerminatedExitCode != STILL_ACTIVE && kTerminatedExitCode != 0);

    // `pass` runs every `period_ms` milliseconds.
    TThread(T* object, WorkFunction pass, DWORD period_ms)
        : object_(object), pass_(pass), period_ms_(period_ms) {}
    // The owner stops the thread first; a handle still held is closed (the thread runs on).
    virtual ~TThread() = default;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // True when a thread runs afterwards; a second start of a running thread is harmless.
    // Returns once the new thread has begun (or after a second at most): a thread terminated
    // while the system is still setting it up can take the whole process down.
    bool Start() {
        if (!stopped_)
            return true;
        if (!MakeEvent(&stop_, TRUE) || !MakeEvent(&started_, TRUE) || !MakeEvent(&left_, TRUE))
            return false;  // without its events the loop could not be stopped but by force
        platform::ResetEvent(stop_.get());
        platform::ResetEvent(started_.get());
        platform::ResetEvent(left_.get());
        unsigned id = 0;
        const uintptr_t handle = platform::_beginthreadex(nullptr, 0, &Entry, this, 0, &id);
        if (handle == 0)
            return false;
        thread_.reset(reinterpret_cast<HANDLE>(handle));
        stopped_ = false;
        platform::WaitForSingleObject(started_.get(), kStartWaitMs);
        return true;
    }

    // Asks the loop to leave and waits up to a second for it to do so between passes; the
    // thread then ends by itself without running the module's code again (the DLL has no TLS
    // directory and turns thread notifications off, so the loader calls nothing of it as the
    // thread ends), so the module may be unmapped at once, even while the loader holds its
    // lock (which the thread's own end needs, so a wait for the thread itself could not
    // succeed at unload). A loop that does not leave in time is terminated.
    void Stop() {
        if (thread_) {
            DWORD code = 0;
            if (platform::GetExitCodeThread(thread_.get(), &code) && code == STILL_ACTIVE) {
                platform::SetEvent(stop_.get());
                if (platform::WaitForSingleObject(left_.get(), kStopWaitMs) == WAIT_OBJECT_0) {
                    ++left_in_time_;
                } else {
                    platform::TerminateThread(thread_.get(), kTerminatedExitCode);
                    // Termination completes asynchronously: the code may be unmapped next.
                    platform::WaitForSingleObject(thread_.get(), kStopWaitMs);
                }
            }
            // A thread that already ended by itself still holds its handle: close it too, so
            // that a restart does not leak it.
            thread_.reset();
        }
        stopped_ = true;
    }

    bool Stopped() const { return stopped_; }
    HANDLE Handle() const { return thread_.get(); }
    // How many stops found the loop leaving by itself (the others terminated it).
    unsigned LeftInTime() const { return left_in_time_; }

  private:
    static bool MakeEvent(runtime::UniqueHandle* event, BOOL manual_reset) {
        if (!*event)
            event->reset(platform::CreateEventA(nullptr, manual_reset, FALSE, nullptr));
        return static_cast<bool>(*event);
    }

    // The thread entry only forwards: the body is an ordinary member function.
    static unsigned WINAPI Entry(void* argument) {
        static_cast<TThread*>(argument)->Body();
        return 0;
    }

    void Body() {
        platform::SetThreadPriority(platform::GetCurrentThread(), priority_);
        platform::SetEvent(started_.get());
        DWORD due = platform::GetTickCount();
        for (;;) {
            (object_->*pass_)();
            due += period_ms_;
            const DWORD now = platform::GetTickCount();
            auto ahead = static_cast<LONG>(due - now);
            // A pass that overran by more than a whole period (the simulator was busy) starts
            // the count afresh instead of running the missed passes back to back.
            if (ahead < -static_cast<LONG>(period_ms_)) {
                due = now;
                ahead = 0;
            }
            const DWORD wait = ahead > 0 ? static_cast<DWORD>(ahead) : 0;
            if (platform::WaitForSingleObject(stop_.get(), wait) != WAIT_TIMEOUT)
                break;
        }
        platform::SetEventAndExitThread(left_.get(), 0);
    }

    static constexpr DWORD kStartWaitMs = 1000;
    static constexpr DWORD kStopWaitMs = 1000;

    T* object_;
    WorkFunction pass_;
    DWORD period_ms_;
    runtime::UniqueHandle thread_;
    runtime::UniqueHandle stop_;             // set by Stop
    runtime::UniqueHandle started_;          // set by the new thread as it begins
    runtime::UniqueHandle left_;             // set by the thread once its loop has left
    int priority_ = THREAD_PRIORITY_NORMAL;  // nothing in the module changes it
    bool stopped_ = true;
    unsigned left_in_time_ = 0;
};

}  // namespace Thread
