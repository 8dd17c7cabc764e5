// The registry shared by key clients, navigation devices and range handlers.
#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <string>
#include <thread>

#include "platform/fake.h"
#include "runtime/callback_registry.h"

namespace {

struct Entry {
    uint32_t handle = 0;
    std::string name;
};
using Registry = runtime::CallbackRegistry<Entry>;

void First() {}
void Second() {}
void Third() {}

uint32_t Add(Registry& registry, void (*callback)(), const char* name) {
    return registry.Add(callback, [name](Entry& e) { e.name = name; });
}

std::string Names(const Registry& registry) {
    std::string names;
    const Registry::Snapshot s = registry.Read();
    for (size_t i = 0; i < s.size(); ++i)
        names += s[i]->name + " ";
    return names;
}

TEST(CallbackRegistry, HandlesAreComplementsAndTheFirstMatchWins) {
    Registry registry;
    const uint32_t first = Add(registry, &First, "a");
    EXPECT_EQ(first, ~runtime::AddressWord(&First));
    Add(registry, &Second, "b");
    Add(registry, &First, "again");  // the registry itself does not refuse a repeat
    EXPECT_EQ(Names(registry), "a b again ");
    EXPECT_EQ(registry.Find(first)->name, "a");
    EXPECT_EQ(registry.Find(12345), nullptr);
}

TEST(CallbackRegistry, RemovalClosesTheGapInOrder) {
    Registry registry;
    Add(registry, &First, "a");
    const uint32_t b = Add(registry, &Second, "b");
    Add(registry, &Third, "c");
    EXPECT_TRUE(registry.Remove(registry.Find(b)));
    EXPECT_EQ(Names(registry), "a c ");
    EXPECT_EQ(registry.IndexOf(registry.Find(b)), registry.Count());
    Entry stranger;
    EXPECT_FALSE(registry.Remove(&stranger));
    EXPECT_EQ(registry.Count(), 2u);
}

TEST(CallbackRegistry, RunningOutOfMemoryAnswersZeroAndAddsNothing) {
    Registry registry;
    Add(registry, &First, "a");
    EXPECT_EQ(registry.Add(&Second, [](Entry&) { throw std::bad_alloc(); }), 0u);
    EXPECT_EQ(Names(registry), "a ");
}

TEST(CallbackRegistry, ASnapshotStaysReadableWhileTheRegistryGrows) {
    runtime::CallbackRegistry<Entry, true> registry;
    {
        registry.Add(&First, [](Entry& e) { e.name = "kept"; });
        const auto before = registry.Read();
        Entry* const removed = registry.At(0);
        for (int i = 0; i < 100; ++i)
            registry.Add(&Second, [](Entry& e) { e.name = "more"; });
        registry.Remove(removed);
        // The array and the removed record the reader holds are still there, as they were.
        ASSERT_EQ(before.size(), 1u);
        EXPECT_EQ(before[0], removed);
        EXPECT_EQ(before[0]->name, "kept");
        EXPECT_TRUE(registry.Removed(before[0]));
        EXPECT_EQ(registry.Count(), 100u);
        // A removal under a snapshot leaves the snapshot's order as it was: a reader walking it
        // skips nothing that stays.
        const auto walking = registry.Read();
        registry.Remove(registry.At(0));
        ASSERT_EQ(walking.size(), 100u);
        EXPECT_EQ(walking[1], registry.At(0));
        EXPECT_FALSE(registry.Removed(walking[1]));
    }
    EXPECT_TRUE(registry.Clear());
    EXPECT_EQ(registry.Count(), 0u);
}

// Unload empties the registry while lookups on other threads may be walking it: it waits for
// those that are in, for a bounded time by the clock, and never frees what a reader holds.
TEST(CallbackRegistry, ClearWaitsForTheReadersThatAreInAndForNoOneElse) {
    runtime::CallbackRegistry<Entry, true> registry;
    registry.Add(&First, [](Entry& e) { e.name = "first"; });
    std::atomic<bool> in{false}, left{false};
    std::string seen;
    std::thread reader([&] {
        const auto all = registry.Read();
        in = true;
        while (registry.Count() != 0)  // until the registry has been emptied
            std::this_thread::yield();
        seen = all[0]->name;  // still readable (a freed record fails the sanitizer build)
        left = true;
    });
    while (!in)
        std::this_thread::yield();
    EXPECT_TRUE(registry.Clear());
    EXPECT_TRUE(left.load());
    reader.join();
    EXPECT_EQ(seen, "first");

    // A reader that never leaves (a thread stopped inside a lookup) holds Clear for the bound
    // only, and keeps what it reads until a later Clear finds it gone.
    fake::SetSleepTick(16);
    registry.Add(&Second, [](Entry& e) { e.name = "second"; });
    std::atomic<bool> release{false};
    in = false;
    std::thread stuck([&] {
        const auto all = registry.Read();
        in = true;
        while (!release)
            std::this_thread::yield();
        seen = all[0]->name;
    });
    while (!in)
        std::this_thread::yield();
    const unsigned before = fake::SleepCount();
    EXPECT_FALSE(registry.Clear());
    const unsigned sleeps = fake::SleepCount() - before;
    EXPECT_LE(sleeps, registry.kClearWaitMs / 16 + 2);
    EXPECT_EQ(registry.Count(), 0u);
    release = true;
    stuck.join();
    EXPECT_EQ(seen, "second");
    EXPECT_TRUE(registry.Clear());
    fake::Reset();
}

}  // namespace
