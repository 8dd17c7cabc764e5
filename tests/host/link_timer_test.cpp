// The two-second link timer: retries until the panels hook and GLOBAL.DLL are linked, then
// stops and starts the two navigation workers once; shut-down undoes it in order.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/module_entry.h"
#include "host/module_state.h"
#include "host/workers.h"
#include "navigation/navigation.h"
#include "service/exports.h"
#include "support/module_fixture.h"
#include "runtime/address_word.h"

namespace {

// A panels module as the simulator has it: its Linkage record is also the function table
// handed over through ImportTable, and its lookup sits at the end of a patchable code region.
struct StandInPanels {
    std::vector<uint8_t> region = std::vector<uint8_t>(0x31000, 0x90);
    uint32_t linkage[96] = {};
    uint8_t code8[32] = {};
    uint32_t global_linkage[256] = {};

    StandInPanels() {
        // The saved lookup is taken from word 40; the patch writes below it into `region`.
        linkage[40] = runtime::AddressWord(&region[0x309F0]);
        fake::MarkAsCode(region.data(), region.size());
        linkage[8] = runtime::AddressWord(code8);
        HMODULE panels = fake::AddModule("PANELS.DLL");
        fake::AddExport(panels, "Linkage", linkage);
    }
    void LoadGlobal() {
        HMODULE global = fake::AddModule("GLOBAL.DLL");
        fake::AddExport(global, "Linkage", global_linkage);
    }
};

class LinkTimer : public test::AttachedModule {
  protected:
    void SetUp() override {
        AttachedModule::SetUp();
        panels_ = std::make_unique<StandInPanels>();
        ImportTable[0].table = panels_->linkage;
        fake::ClearCalls();
    }
    void TearDown() override {
        AttachedModule::TearDown();
        panels_.reset();
    }
    std::unique_ptr<StandInPanels> panels_;
};

TEST_F(LinkTimer, IsArmedForTwoSecondsWithoutAWindow) {
    const auto timers = fake::ArmedTimers();
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_EQ(timers[0].period, 2000u);
    EXPECT_EQ(timers[0].id, host::Module().link_timer);
}

TEST_F(LinkTimer, KeepsRetryingWhileGlobalIsMissing) {
    for (int i = 0; i < 5; ++i)
        fake::FireTimers();
    EXPECT_EQ(fake::ArmedTimers().size(), 1u);
    EXPECT_TRUE(fake::CallsOf({"KillTimer", "_beginthreadex"}).empty());
    int global_lookups = 0;
    for (const auto& call : fake::CallsOf("GetModuleHandleA")) {
        global_lookups += call == "GetModuleHandleA(\"GLOBAL.DLL\")";
    }
    EXPECT_EQ(global_lookups, 5);
}

TEST_F(LinkTimer, StopsAtTheFirstTickAfterBothAreLinkedAndStartsTheWorkersOnce) {
    fake::FireTimers();
    panels_->LoadGlobal();
    fake::FireTimers();
    EXPECT_TRUE(fake::ArmedTimers().empty());
    fake::FireTimers();
    host::LinkTimerProcedure(nullptr, 0x113, host::Module().link_timer, 0);
    EXPECT_EQ(fake::CallsOf("_beginthreadex").size(), 2u);
    EXPECT_EQ(fake::RunningThreadCount(), 2);
    EXPECT_FALSE(host::AutopilotSourceThread().Stopped());
    EXPECT_FALSE(host::GpsInfoThread().Stopped());
    EXPECT_TRUE(host::AirDataThread().Stopped()) << "air data starts only on its own command";
}

TEST_F(LinkTimer, ReadsThirtyTwoCodeBytesAtPanelsEntryEight) {
    panels_->LoadGlobal();
    fake::FireTimers();
    const std::string expected = "ReadProcessMemory(0xFFFFFFFF, " +
                                 fake::Format(static_cast<void*>(panels_->code8)) + ", 32)";
    EXPECT_EQ(fake::CallsOf("ReadProcessMemory"), std::vector<std::string>{expected});
    EXPECT_EQ(fake::ArmedTimers().size(), 0u);
}

TEST_F(LinkTimer, TakesTheAircraftInformationWordsFromTheCodeBytes) {
    const uint32_t first = 0x11223344, second = 0x55667788;
    std::memcpy(panels_->code8 + 11, &first, 4);  // unaligned on purpose
    std::memcpy(panels_->code8 + 24, &second, 4);
    panels_->LoadGlobal();
    fake::FireTimers();
    EXPECT_EQ(navigation::AircraftInformationWord(0), first);
    EXPECT_EQ(navigation::AircraftInformationWord(1), second);
    EXPECT_EQ(navigation::SimulatorGlobalRecord(),
              reinterpret_cast<uintptr_t>(panels_->global_linkage) + 620);
}

TEST_F(LinkTimer, UnreadableCodeLeavesTheWordsZeroAndStillLinks) {
    std::memset(panels_->code8, 0xAB, sizeof panels_->code8);
    fake::Fail("ReadProcessMemory");
    panels_->LoadGlobal();
    fake::FireTimers();
    EXPECT_EQ(navigation::AircraftInformationWord(0), 0u);
    EXPECT_EQ(navigation::AircraftInformationWord(1), 0u);
    EXPECT_TRUE(fake::ArmedTimers().empty());
    EXPECT_EQ(fake::RunningThreadCount(), 2);
}

TEST_F(LinkTimer, PanelsEntryBelowACodeAddressKeepsTheTimerRetrying) {
    panels_->linkage[40] = 0xFFFF;
    panels_->LoadGlobal();
    for (int i = 0; i < 3; ++i)
        fake::FireTimers();
    EXPECT_EQ(fake::ArmedTimers().size(), 1u);
    EXPECT_TRUE(fake::CallsOf("_beginthreadex").empty());
    EXPECT_EQ(panels_->linkage[40], 0xFFFFu);
}

TEST_F(LinkTimer, ShutDownBeforeTheLinkKillsTheTimer) {
    const UINT_PTR timer = host::Module().link_timer;
    Detach();
    EXPECT_TRUE(test::SameCalls({"KillTimer(0x0, " + std::to_string(timer) + ")"},
                                fake::CallsOf("KillTimer")));
    EXPECT_TRUE(fake::ArmedTimers().empty());
}

// The timer that stopped itself is forgotten: its id may be another component's timer by
// shut-down, and that one is left alone.
TEST_F(LinkTimer, ShutDownAfterTheLinkStopsWorkersAndUnhooksInOrder) {
    panels_->LoadGlobal();
    fake::FireTimers();
    EXPECT_EQ(host::Module().link_timer, 0u);
    const std::string gps = fake::Format(host::GpsInfoThread().Handle());
    const std::string ap = fake::Format(host::AutopilotSourceThread().Handle());
    fake::ClearCalls();
    Detach();
    // Both workers leave their loops between passes: nothing is terminated.
    EXPECT_TRUE(
        test::SameCalls({"GetExitCodeThread(" + gps + ")", "CloseHandle(" + gps + ")",
                         "GetExitCodeThread(" + ap + ")", "CloseHandle(" + ap + ")",
                         "UnhookWindowsHookEx(0xC00011)", "UnhookWindowsHookEx(0xC00010)"},
                        fake::CallsOf({"GetExitCodeThread", "TerminateThread", "CloseHandle",
                                       "KillTimer", "UnhookWindowsHookEx"})));
    EXPECT_EQ(fake::OpenThreadCount(), 0);
    EXPECT_EQ(fake::RunningThreadCount(), 0);
}

// At the process's end the other threads are gone, perhaps holding the heap's lock: the
// detach touches nothing, not even the workers' threads (the system ends them).
TEST_F(LinkTimer, DetachAtTheProcessEndCallsNothing) {
    panels_->LoadGlobal();
    fake::FireTimers();
    host::AirDataThread().Start();
    fake::ClearCalls();
    host::ModuleEntry(reinterpret_cast<HINSTANCE>(0x6d000000), DLL_PROCESS_DETACH,
                      reinterpret_cast<LPVOID>(1));
    // (The workers' own passes go on meanwhile and may log theirs.)
    EXPECT_TRUE(fake::CallsOf({"GetExitCodeThread", "SetEvent", "TerminateThread", "CloseHandle",
                               "KillTimer", "UnhookWindowsHookEx", "UnregisterHotKey", "DeleteAtom",
                               "WriteProcessMemory", "UnmapViewOfFile"})
                    .empty());
    EXPECT_EQ(host::Module().attached, 1u);
    EXPECT_EQ(fake::RunningThreadCount(), 3);
}

}  // namespace
