// Events, threads and the waits the module's workers pace themselves with.
//
// Where the fake differs: it gives every event its own object even when two share a name, while
// Windows opens the existing one (CreateEvent, "If lpName matches the name of an existing named
// event object..."). The module creates unnamed events only, so no test names one.
#include "contract_check.h"
#include "platform/crt.h"
#include "platform/kernel.h"

namespace {

// Windows' headers give these as long, the wait's answer is a DWORD.
constexpr DWORD kSignalled = WAIT_OBJECT_0;
constexpr DWORD kTimedOut = WAIT_TIMEOUT;
constexpr DWORD kFailed = WAIT_FAILED;

TEST(Events, AnAutoResetEventReleasesOneWait) {
    HANDLE event = platform::CreateEventA(nullptr, FALSE, TRUE, nullptr);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(platform::WaitForSingleObject(event, 0), kSignalled);
    EXPECT_EQ(platform::WaitForSingleObject(event, 0), kTimedOut);
    EXPECT_TRUE(platform::SetEvent(event));
    EXPECT_TRUE(platform::SetEvent(event)) << "setting a set event is no count";
    EXPECT_EQ(platform::WaitForSingleObject(event, 0), kSignalled);
    EXPECT_EQ(platform::WaitForSingleObject(event, 0), kTimedOut);
    EXPECT_TRUE(platform::CloseHandle(event));
}

TEST(Events, AManualResetEventStaysSetUntilReset) {
    HANDLE event = platform::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(platform::WaitForSingleObject(event, 0), kTimedOut);
    EXPECT_TRUE(platform::SetEvent(event));
    EXPECT_EQ(platform::WaitForSingleObject(event, 0), kSignalled);
    EXPECT_EQ(platform::WaitForSingleObject(event, 0), kSignalled);
    EXPECT_TRUE(platform::ResetEvent(event));
    EXPECT_EQ(platform::WaitForSingleObject(event, 0), kTimedOut);
    EXPECT_TRUE(platform::CloseHandle(event));
}

TEST(Events, AWaitLastsItsTimeout) {
    HANDLE event = platform::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    const DWORD start = platform::GetTickCount();
    EXPECT_EQ(platform::WaitForSingleObject(event, 100), kTimedOut);
    // The tick count moves in steps of up to 16 ms.
    EXPECT_GE(platform::GetTickCount() - start, 84u);
    EXPECT_TRUE(platform::CloseHandle(event));
}

TEST(Events, WaitingOnSomethingThatIsNoHandleFails) {
    EXPECT_EQ(platform::WaitForSingleObject(reinterpret_cast<HANDLE>(0x7FFF0000), 0), kFailed);
}

struct Started {
    HANDLE go;
    HANDLE done;
};

unsigned WINAPI WaitThenReturn(void* argument) {
    auto* started = static_cast<Started*>(argument);
    platform::WaitForSingleObject(started->go, INFINITE);
    return 42;
}

unsigned WINAPI SignalAndExit(void* argument) {
    auto* started = static_cast<Started*>(argument);
    platform::SetEventAndExitThread(started->done, 17);
}

TEST(Threads, AThreadIsActiveUntilItReturnsThenSignalledWithItsCode) {
    Started started{platform::CreateEventA(nullptr, TRUE, FALSE, nullptr), nullptr};
    ASSERT_NE(started.go, nullptr);
    unsigned id = 0;
    HANDLE thread = reinterpret_cast<HANDLE>(
        platform::_beginthreadex(nullptr, 0, WaitThenReturn, &started, 0, &id));
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    DWORD code = 0;
    EXPECT_TRUE(platform::GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(platform::WaitForSingleObject(thread, 50), kTimedOut);

    EXPECT_TRUE(platform::SetEvent(started.go));
    EXPECT_EQ(platform::WaitForSingleObject(thread, 5000), kSignalled);
    EXPECT_TRUE(platform::GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    EXPECT_EQ(platform::WaitForSingleObject(thread, 0), kSignalled) << "it stays signalled";
    EXPECT_TRUE(platform::CloseHandle(thread));
    EXPECT_TRUE(platform::CloseHandle(started.go));
}

TEST(Threads, SetEventAndExitThreadSetsTheEventThenEndsWithTheCode) {
    Started started{nullptr, platform::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    ASSERT_NE(started.done, nullptr);
    HANDLE thread = reinterpret_cast<HANDLE>(
        platform::_beginthreadex(nullptr, 0, SignalAndExit, &started, 0, nullptr));
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(platform::WaitForSingleObject(started.done, 5000), kSignalled);
    EXPECT_EQ(platform::WaitForSingleObject(thread, 5000), kSignalled);
    DWORD code = 0;
    EXPECT_TRUE(platform::GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 17u);
    EXPECT_TRUE(platform::CloseHandle(thread));
    EXPECT_TRUE(platform::CloseHandle(started.done));
}

}  // namespace
