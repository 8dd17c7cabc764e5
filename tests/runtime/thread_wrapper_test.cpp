// The thread wrapper: start, stop by forced termination, restart.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "runtime/thread_wrapper.h"
#include "platform/fake.h"
#include "platform/kernel.h"

namespace {

std::atomic<int> passes{0};

class Loop {
  public:
    void Run() {
        for (;;) {
            ++passes;
            platform::Sleep(1);
        }
    }
};

class ThreadWrapper : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::Reset();
        passes = 0;
    }
    void TearDown() override {
        thread_.Stop();
        fake::Reset();
    }
    void WaitForPasses(int n) {
        for (int i = 0; i < 2000 && passes < n; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_GE(passes, n);
    }
    Loop loop_;
    Thread::TThread<Loop> thread_{&loop_, &Loop::Run};
};

TEST_F(ThreadWrapper, StartRunsTheWorkFunctionAtNormalPriority) {
    EXPECT_TRUE(thread_.Stopped());
    ASSERT_TRUE(thread_.Start());
    EXPECT_FALSE(thread_.Stopped());
    WaitForPasses(3);
    EXPECT_EQ(fake::CallsOf("SetThreadPriority"),
              std::vector<std::string>{"SetThreadPriority(0xFFFFFFFE, 0)"});
}

TEST_F(ThreadWrapper, SecondStartOfARunningThreadCreatesNothing) {
    ASSERT_TRUE(thread_.Start());
    ASSERT_TRUE(thread_.Start());
    EXPECT_EQ(fake::CallsOf("_beginthreadex").size(), 1u);
    EXPECT_EQ(fake::OpenThreadCount(), 1);
}

TEST_F(ThreadWrapper, StopReallyEndsTheLoopAndForgetsTheHandle) {
    ASSERT_TRUE(thread_.Start());
    WaitForPasses(2);
    thread_.Stop();
    EXPECT_TRUE(thread_.Stopped());
    EXPECT_EQ(thread_.Handle(), nullptr);
    EXPECT_EQ(fake::OpenThreadCount(), 0);
    const int after = passes;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(passes, after) << "the loop kept running after stop";
    const auto terminate = fake::CallsOf("TerminateThread");
    ASSERT_EQ(terminate.size(), 1u);
    EXPECT_NE(terminate[0].find(", 259)"), std::string::npos) << terminate[0];
}

TEST_F(ThreadWrapper, StopOfANeverStartedObjectTerminatesNothing) {
    thread_.Stop();
    EXPECT_TRUE(thread_.Stopped());
    EXPECT_TRUE(fake::CallsOf({"GetExitCodeThread", "TerminateThread", "CloseHandle"}).empty());
}

TEST_F(ThreadWrapper, RestartAfterStopRunsANewThread) {
    ASSERT_TRUE(thread_.Start());
    thread_.Stop();
    passes = 0;
    ASSERT_TRUE(thread_.Start());
    WaitForPasses(2);
    EXPECT_EQ(fake::CallsOf("_beginthreadex").size(), 2u);
    EXPECT_EQ(fake::RunningThreadCount(), 1);
}

TEST_F(ThreadWrapper, FailedCreationLeavesTheObjectStopped) {
    fake::Fail("_beginthreadex");
    EXPECT_FALSE(thread_.Start());
    EXPECT_TRUE(thread_.Stopped());
    EXPECT_EQ(thread_.Handle(), nullptr);
    fake::Fail("_beginthreadex", false);
    EXPECT_TRUE(thread_.Start());
}

// A thread that ended by itself: stop closes its handle as well, so restarts leak nothing.
class Once {
  public:
    void Run() { ++passes; }
};

TEST(ThreadWrapperEnded, StopClosesTheHandleOfAThreadThatEndedByItself) {
    fake::Reset();
    passes = 0;
    Once once;
    Thread::TThread<Once> thread(&once, &Once::Run);
    ASSERT_TRUE(thread.Start());
    while (fake::RunningThreadCount() != 0)
        std::this_thread::yield();
    thread.Stop();
    EXPECT_TRUE(fake::CallsOf("TerminateThread").empty());
    EXPECT_EQ(fake::CallsOf("CloseHandle").size(), 1u);
    EXPECT_EQ(fake::OpenThreadCount(), 0);
    fake::Reset();
}

}  // namespace
