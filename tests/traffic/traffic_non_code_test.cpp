// A traffic module whose callback object or interface holds entries that are no code: the
// provider calls none of them and reports the interface as missing, once.
#include <cstring>

#include "traffic_fixture.h"

namespace {

using TrafficNonCode = test::TrafficTest;

constexpr char kNoInterface[] = "Meridane Traffic: Unable to query interface ITrafficInfo";

// Data in place of functions: a call into it would fault.
uint8_t not_code[64];
void* const data_table[17] = {not_code, not_code, not_code, not_code, not_code, not_code,
                              not_code, not_code, not_code, not_code, not_code, not_code,
                              not_code, not_code, not_code, not_code, not_code};
struct {
    void* const* table;
} broken = {data_table};

TEST_F(TrafficNonCode, AQueryInterfaceThatIsNoCodeCountsAsNoInterface) {
    sim.registered_object = reinterpret_cast<traffic::RegisteredObject*>(&broken);
    sim.aircraft = {Plane(1)};
    EXPECT_EQ(List().size(), 0u);
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    EXPECT_EQ(fake::MessageBoxes()[0].text, kNoInterface);
    EXPECT_EQ(traffic::State().traffic_interface, nullptr);
}

TEST_F(TrafficNonCode, AnInterfaceWithFunctionsThatAreNoCodeIsNotUsed) {
    sim.traffic_interface = reinterpret_cast<traffic::TrafficInterface*>(&broken);
    sim.aircraft = {Plane(1)};
    EXPECT_EQ(List().size(), 0u);
    fake::AdvanceTime(1000);
    EXPECT_EQ(List().size(), 0u);
    ASSERT_EQ(fake::MessageBoxes().size(), 1u);
    EXPECT_EQ(fake::MessageBoxes()[0].text, kNoInterface);
    EXPECT_TRUE(fake::CallsOf({"VariableId", "UnitId", "AircraftInRadius"}).empty());
}

}  // namespace
