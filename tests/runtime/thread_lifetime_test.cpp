// The thread wrapper around the moments the system is still busy with a thread: a start
// returns only once the new thread runs its work, and a stop returns only once the terminated
// thread is gone, since the module's code may be unmapped right after it.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "runtime/thread_wrapper.h"
#include "platform/fake.h"
#include "support/module_fixture.h"

namespace {

std::atomic<bool> entered{false};

class SlowStarter {
  public:
    void Run() {
        entered = true;
        for (;;)
            platform::Sleep(1);
    }
};

class ThreadLifetime : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::Reset();
        entered = false;
    }
    void TearDown() override {
        thread_.Stop();
        fake::Reset();
    }
    SlowStarter starter_;
    Thread::TThread<SlowStarter> thread_{&starter_, &SlowStarter::Run};
};

TEST_F(ThreadLifetime, StartReturnsOnceTheThreadRunsItsWork) {
    for (int i = 0; i < 20; ++i) {
        entered = false;
        ASSERT_TRUE(thread_.Start());
        EXPECT_TRUE(entered) << "start " << i << " returned before the thread began its work";
        thread_.Stop();
    }
}

TEST_F(ThreadLifetime, StopWaitsForTheTerminatedThreadBeforeClosingIt) {
    ASSERT_TRUE(thread_.Start());
    const std::string handle = fake::Format(thread_.Handle());
    fake::ClearCalls();
    thread_.Stop();
    EXPECT_TRUE(test::SameCalls(
        {"GetExitCodeThread(" + handle + ")", "TerminateThread(" + handle + ", 259)",
         "WaitForSingleObject(" + handle + ", 1000)", "CloseHandle(" + handle + ")"},
        fake::Calls()));
}

}  // namespace
