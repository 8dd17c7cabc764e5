// Simulator entries that hold no code (or records that are not there): the module neither
// calls nor patches through them, and tries again later, as if the entry were missing.
#include <cstring>

#include "nav_test_support.h"
#include "navigation/autopilot_source.h"
#include "navigation/gps_info.h"
#include "navigation/nav_registry.h"
#include "navigation/panels_hook.h"
#include "navigation/navigation.h"
#include "queries/queries.h"
#include "support/internals_stand_in.h"
#include "runtime/address_word.h"

namespace {

using namespace navigation;
using queries::ServiceControl;
using queries::ServiceQuery;

// Data where a function should be: calling it would fault.
uint8_t not_code[64];
uint32_t Address(const void* p) {
    return runtime::AddressWord(p);
}

class NonCodeEntries : public test::AttachedModule {};

TEST_F(NonCodeEntries, APanelsLookupThatIsNoCodeIsNeitherPatchedNorHooked) {
    uint32_t linkage[64] = {};
    linkage[40] = Address(not_code);
    fake::AddExport(fake::AddModule("PANELS.DLL"), "Linkage", linkage);
    fake::ClearCalls();
    EXPECT_FALSE(LinkPanels());
    EXPECT_EQ(linkage[40], Address(not_code));
    EXPECT_TRUE(fake::CallsOf("WriteProcessMemory").empty());
    EXPECT_FALSE(PanelsHookInstalled());
}

const uint8_t read_only_model[280] = {};
void* MDN_STDCALL ReadOnlyModel() {
    return const_cast<uint8_t*>(read_only_model);
}

TEST_F(NonCodeEntries, AFlightModelEntryThatIsNoCodeIsNotCalledAndAReadOnlyObjectIsNotKept) {
    uint32_t linkage[32] = {};
    linkage[23] = Address(not_code);
    fake::AddExport(fake::AddModule("flight.dll"), "Linkage", linkage);
    fake::SetTime(100000);
    PostAutopilotData(2.5);
    AutopilotSourcePass();  // would fault inside `not_code` if it were called
    EXPECT_EQ(FlightModelObject(), 0u);

    linkage[23] = Address(reinterpret_cast<const void*>(&ReadOnlyModel));
    AutopilotSourcePass();  // would fault writing into the read-only object
    EXPECT_EQ(FlightModelObject(), 0u);
}

class NonCodeInternals : public stand_in::InternalsTest {};

TEST_F(NonCodeInternals, EntriesThatAreNoCodeLeaveTheirItemsUnresolved) {
    records_.a[internals::kPositionAngleWord] = Address(not_code);
    records_.d[internals::kElevationWord] = Address(not_code);
    InstallAll();
    internals::ResolveSimulatorInternals();
    const auto& s = internals::SimulatorInternals();
    EXPECT_EQ(s.position_angle, nullptr);
    EXPECT_EQ(s.elevation, nullptr);
    EXPECT_TRUE(s.gain_table_ready) << "the gain object is untouched";

    float angle[3] = {47.0f, 8.0f, -1.0f};
    EXPECT_EQ(ServiceQuery(MDN_QUERY_POSITION_ANGLE, angle), 1u);
    EXPECT_EQ(angle[2], -1.0f);
    double elevation[3] = {47.0, 8.0, -1.0};
    EXPECT_EQ(ServiceQuery(MDN_QUERY_ELEVATION, elevation), 1u);
    EXPECT_EQ(elevation[2], -1.0);
}

TEST_F(NonCodeInternals, AGainObjectThatIsNoRecordLeavesTheGainTableUnknown) {
    // The gain object's first word is no address, so its function table cannot be read.
    std::memset(not_code, 0xCC, sizeof not_code);
    records_.c[internals::kGainObjectWord] = Address(not_code);
    InstallAll();
    internals::ResolveSimulatorInternals();
    const auto& s = internals::SimulatorInternals();
    EXPECT_FALSE(s.gain_table_ready);
    EXPECT_EQ(s.gain_table, nullptr);
    EXPECT_EQ(s.gain_setter, nullptr);
    const uint32_t set = 1u << 16 | 50;
    EXPECT_EQ(ServiceControl(MDN_CONTROL_SET_GAIN, &set), 1u);  // nothing to call: nothing done
    EXPECT_TRUE(stand_in::world().setter_calls.empty());
}

TEST_F(NonCodeInternals, AGainSetterThatIsNoCodeIsNotCalled) {
    InstallAll();
    records_.functions[internals::kGainSetterWord] = Address(not_code);
    internals::ResolveSimulatorInternals();
    EXPECT_FALSE(internals::SimulatorInternals().gain_table_ready);
    const uint32_t set = 1u << 16 | 50;
    ServiceControl(MDN_CONTROL_SET_GAIN, &set);
    EXPECT_TRUE(stand_in::world().setter_calls.empty());
}

}  // namespace
