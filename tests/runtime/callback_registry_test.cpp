// The registry shared by key clients, navigation devices and range handlers.
#include <gtest/gtest.h>

#include <new>
#include <string>

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
    registry.Clear();
    EXPECT_EQ(registry.Count(), 0u);
}

}  // namespace
