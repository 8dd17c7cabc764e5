// The thread wrapper: one object per background loop. Stop is by forced termination,
// because none of the module's loops returns by itself.
#pragma once
#include "platform/crt.h"
#include "platform/kernel.h"

namespace Thread {

template <class T>
class TThread {
  public:
    using WorkFunction = void (T::*)();

    TThread(T* object, WorkFunction work) : object_(object), work_(work) {}
    // Releases nothing but the object: the owner stops the thread first.
    virtual ~TThread() = default;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // True when a thread runs afterwards; a second start of a running thread is harmless.
    bool Start() {
        if (!stopped_)
            return true;
        unsigned id = 0;
        const uintptr_t handle = platform::_beginthreadex(nullptr, 0, &Entry, this, 0, &id);
        if (handle == 0)
            return false;
        thread_ = reinterpret_cast<HANDLE>(handle);
        stopped_ = false;
        return true;
    }

    // Does not wait for the thread and does not signal it.
    void Stop() {
        if (thread_ != nullptr) {
            DWORD code = 0;
            if (platform::GetExitCodeThread(thread_, &code) && code == STILL_ACTIVE) {
                platform::TerminateThread(thread_, STILL_ACTIVE);
            }
            // A thread that already ended by itself still holds its handle: close it too, so
            // that a restart does not leak it.
            platform::CloseHandle(thread_);
            thread_ = nullptr;
        }
        stopped_ = true;
    }

    bool Stopped() const { return stopped_; }
    HANDLE Handle() const { return thread_; }

  private:
    // The thread entry only forwards: the body is an ordinary member function.
    static unsigned WINAPI Entry(void* argument) {
        static_cast<TThread*>(argument)->Body();
        return 0;
    }

    void Body() {
        platform::SetThreadPriority(platform::GetCurrentThread(), priority_);
        (object_->*work_)();
    }

    T* object_;
    WorkFunction work_;
    HANDLE thread_ = nullptr;
    int priority_ = THREAD_PRIORITY_NORMAL;  // nothing in the module changes it
    bool stopped_ = true;
};

}  // namespace Thread
