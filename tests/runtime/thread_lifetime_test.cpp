// The thread wrapper around the moments the system is still busy with a thread: a start
// returns only once the new thread has begun, a stop waits for the pass under way to finish
// (it may be inside a call into the simulator, holding the simulator's locks), and only a
// pass that has not come back within a second of real time is terminated.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "runtime/thread_wrapper.h"
#include "platform/fake.h"

namespace {

std::atomic<int> pass_ms{0};
std::atomic<int> started{0};
std::atomic<int> finished{0};

class SlowPass {
  public:
    void Pass() {
        ++started;
        std::this_thread::sleep_for(std::chrono::milliseconds(pass_ms.load()));
        ++finished;
    }
};

class ThreadLifetime : public ::testing::Test {
  protected:
    void SetUp() override {
        fake::Reset();
        pass_ms = 0;
        started = 0;
        finished = 0;
    }
    void TearDown() override {
        thread_.Stop();
        fake::Reset();
    }
    // Stops in the middle of a pass; the time the stop took, in milliseconds.
    long StopMidPass() {
        while (started == 0)
            std::this_thread::yield();
        fake::ClearCalls();
        const auto start = std::chrono::steady_clock::now();
        thread_.Stop();
        return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count());
    }
    std::vector<std::string> StopCalls() {
        std::vector<std::string> names;
        for (const std::string& line : fake::Calls())
            names.push_back(line.substr(0, line.find('(')));
        return names;
    }
    SlowPass pass_;
    Thread::TThread<SlowPass> thread_{&pass_, &SlowPass::Pass, 33};
};

TEST_F(ThreadLifetime, StartReturnsOnceTheThreadHasBegun) {
    for (int i = 0; i < 20; ++i) {
        fake::ClearCalls();
        ASSERT_TRUE(thread_.Start());
        // The thread's first act precedes the event the start waits for.
        EXPECT_EQ(fake::CallsOf("SetThreadPriority").size(), 1u)
            << "start " << i << " returned before the thread began";
        thread_.Stop();
    }
}

TEST_F(ThreadLifetime, StopWaitsForThePassUnderWayAndTerminatesNothing) {
    pass_ms = 300;
    ASSERT_TRUE(thread_.Start());
    const long ms = StopMidPass();
    EXPECT_EQ(finished.load(), started.load()) << "the pass was cut short";
    EXPECT_GE(ms, 150);
    EXPECT_LT(ms, 1000);
    EXPECT_EQ(StopCalls(), (std::vector<std::string>{"GetExitCodeThread", "SetEvent",
                                                     "WaitForSingleObject", "CloseHandle"}));
    EXPECT_EQ(fake::CallsOf("WaitForSingleObject")[0].find(", 1000)") != std::string::npos, true);
}

TEST_F(ThreadLifetime, APassStuckForLongerThanASecondIsTerminatedAfterASecond) {
    pass_ms = 5000;
    ASSERT_TRUE(thread_.Start());
    const long ms = StopMidPass();
    EXPECT_GE(ms, 950);
    EXPECT_LT(ms, 2500);
    const std::string handle_calls[] = {"GetExitCodeThread",   "SetEvent",
                                        "WaitForSingleObject", "TerminateThread",
                                        "WaitForSingleObject", "CloseHandle"};
    EXPECT_EQ(StopCalls(),
              std::vector<std::string>(std::begin(handle_calls), std::end(handle_calls)));
    // Its own exit code: STILL_ACTIVE (259) would read as a thread that still runs.
    const std::string code = std::to_string(decltype(thread_)::kTerminatedExitCode);
    EXPECT_NE(fake::CallsOf("TerminateThread")[0].find(", " + code + ")"), std::string::npos)
        << fake::CallsOf("TerminateThread")[0];
    EXPECT_EQ(finished.load(), 0);
}

}  // namespace
