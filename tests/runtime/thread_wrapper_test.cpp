// The thread wrapper: start, a pass every period, stop between passes, restart.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "runtime/thread_wrapper.h"
#include "platform/fake.h"
#include "platform/kernel.h"

namespace {

std::atomic<int> passes{0};
std::atomic<int> pass_ms{0};  // how long each pass takes

class Loop {
  public:
    void Pass() {
        ++passes;
        if (pass_ms > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(pass_ms.load()));
    }
};

class ThreadWrapper : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::Reset();
        passes = 0;
        pass_ms = 0;
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
    Thread::TThread<Loop> thread_{&loop_, &Loop::Pass, 1};
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

TEST_F(ThreadWrapper, StopLetsTheLoopLeaveByItselfAndForgetsTheHandle) {
    ASSERT_TRUE(thread_.Start());
    WaitForPasses(2);
    thread_.Stop();
    EXPECT_TRUE(thread_.Stopped());
    EXPECT_EQ(thread_.Handle(), nullptr);
    EXPECT_EQ(fake::OpenThreadCount(), 0);
    const int after = passes;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(passes, after) << "the loop kept running after stop";
    EXPECT_TRUE(fake::CallsOf("TerminateThread").empty());
    EXPECT_EQ(thread_.LeftInTime(), 1u);
}

TEST_F(ThreadWrapper, StopOfANeverStartedObjectSignalsAndTerminatesNothing) {
    thread_.Stop();
    EXPECT_TRUE(thread_.Stopped());
    EXPECT_TRUE(
        fake::CallsOf({"GetExitCodeThread", "SetEvent", "TerminateThread", "CloseHandle"}).empty());
}

TEST_F(ThreadWrapper, RestartAfterStopRunsANewThread) {
    ASSERT_TRUE(thread_.Start());
    thread_.Stop();
    passes = 0;
    ASSERT_TRUE(thread_.Start());
    WaitForPasses(2);
    EXPECT_EQ(fake::CallsOf("_beginthreadex").size(), 2u);
    EXPECT_EQ(fake::RunningThreadCount(), 1);
    // The events are made once and reused.
    EXPECT_EQ(fake::CallsOf("CreateEventA").size(), 3u);
}

TEST_F(ThreadWrapper, FailedCreationLeavesTheObjectStopped) {
    fake::Fail("_beginthreadex");
    EXPECT_FALSE(thread_.Start());
    EXPECT_TRUE(thread_.Stopped());
    EXPECT_EQ(thread_.Handle(), nullptr);
    fake::Fail("_beginthreadex", false);
    EXPECT_TRUE(thread_.Start());
}

// Passes are due every period counted from the first, so the time a pass takes (a slow
// simulator, a late wake-up on a coarse timer) does not stretch the cadence.
TEST(ThreadWrapperCadence, PassesThatTakeTimeKeepTheirPeriod) {
    fake::Reset();
    passes = 0;
    pass_ms = 20;
    Loop loop;
    Thread::TThread<Loop> thread(&loop, &Loop::Pass, 33);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(thread.Start());
    std::this_thread::sleep_for(std::chrono::milliseconds(990));
    thread.Stop();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    // 30 passes a second; a fixed 33 ms pause after each 20 ms pass would give 19.
    EXPECT_GE(passes * 1000 / ms, 26) << passes << " passes in " << ms << " ms";
    EXPECT_LE(passes * 1000 / ms, 32) << passes << " passes in " << ms << " ms";
    pass_ms = 0;
    fake::Reset();
}

}  // namespace
