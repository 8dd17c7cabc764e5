// The thread wrapper: one object per background loop. Stop is by forced termination,
// because none of the module's loops returns by itself.
#pragma once
#include <atomic>

#include "platform/crt.h"
#include "platform/kernel.h"
#include "runtime/owners.h"

namespace Thread {

template <class T>
class TThread {
  public:
    using WorkFunction = void (T::*)();

    TThread(T* object, WorkFunction work) : object_(object), work_(work) {}
    // The owner stops the thread first; a handle still held is closed (the thread runs on).
    virtual ~TThread() = default;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // True when a thread runs afterwards; a second start of a running thread is harmless.
    // Returns once the new thread runs its work function (or after a second at most): a thread
    // terminated while the system is still setting it up can take the whole process down.
    bool Start() {
        if (!stopped_)
            return true;
        working_.store(false, std::memory_order_relaxed);
        unsigned id = 0;
        const uintptr_t handle = platform::_beginthreadex(nullptr, 0, &Entry, this, 0, &id);
        if (handle == 0)
            return false;
        thread_.reset(reinterpret_cast<HANDLE>(handle));
        stopped_ = false;
        for (int waited = 0; waited < kStartWaitMs && !working_.load(std::memory_order_acquire);
             ++waited) {
            platform::Sleep(1);
        }
        return true;
    }

    // Does not signal the thread. Termination completes asynchronously, so Stop waits for it
    // (a second at most): the module's code may be unmapped right afterwards.
    void Stop() {
        if (thread_) {
            DWORD code = 0;
            if (platform::GetExitCodeThread(thread_.get(), &code) && code == STILL_ACTIVE) {
                platform::TerminateThread(thread_.get(), STILL_ACTIVE);
                platform::WaitForSingleObject(thread_.get(), kStopWaitMs);
            }
            // A thread that already ended by itself still holds its handle: close it too, so
            // that a restart does not leak it.
            thread_.reset();
        }
        stopped_ = true;
    }

    bool Stopped() const { return stopped_; }
    HANDLE Handle() const { return thread_.get(); }

  private:
    // The thread entry only forwards: the body is an ordinary member function.
    static unsigned WINAPI Entry(void* argument) {
        static_cast<TThread*>(argument)->Body();
        return 0;
    }

    void Body() {
        platform::SetThreadPriority(platform::GetCurrentThread(), priority_);
        working_.store(true, std::memory_order_release);
        (object_->*work_)();
    }

    static constexpr int kStartWaitMs = 1000;
    static constexpr DWORD kStopWaitMs = 1000;

    T* object_;
    WorkFunction work_;
    runtime::UniqueHandle thread_;
    int priority_ = THREAD_PRIORITY_NORMAL;  // nothing in the module changes it
    bool stopped_ = true;
    std::atomic<bool> working_{false};  // set by the new thread as it enters the work function
};

}  // namespace Thread
