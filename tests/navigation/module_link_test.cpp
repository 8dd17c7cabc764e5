// The navigation subsystem as the module host drives it: start-up, the link timer, shut-down.
#include "host/module_state.h"
#include "navigation/autopilot_source.h"
#include "navigation/gps_info.h"
#include "navigation/nav_registry.h"
#include "navigation/panels_hook.h"
#include "navigation/navigation.h"
#include "support/module_fixture.h"
#include "runtime/address_word.h"

namespace {

using namespace navigation;

uint32_t MDN_STDCALL SimulatorLookup(MdnVariableQuery*) {
    return 0;
}

class ModuleLink : public test::AttachedModule {
  protected:
    void SetUp() override {
        AttachedModule::SetUp();
        linkage_[40] = runtime::AddressWord(&SimulatorLookup);
        fake::AddExport(fake::AddModule("PANELS.DLL"), "Linkage", linkage_);
        fake::AddExport(fake::AddModule("GLOBAL.DLL"), "Linkage", global_);
        // The patch bytes cannot land in this program's code.
        fake::Fail("WriteProcessMemory");
        // The workers are tested pass by pass; here only the link matters.
        fake::Fail("_beginthreadex");
    }
    uint32_t linkage_[64] = {};
    uint32_t global_[200] = {};
};

TEST_F(ModuleLink, StartUpMakesTheSimulatorGpsTheFirstActiveDeviceWithAResetBlock) {
    char name[64];
    EXPECT_EQ(GetNavDeviceInfo(0, name, nullptr), host::Module().simulator_gps_device);
    EXPECT_STREQ(name, "Flight Simulator GPS");
    EXPECT_TRUE(SimulatorGpsActive());
    EXPECT_STREQ(GetPanelsHookState()->text839, "     ");
    EXPECT_STREQ(GetPanelsHookState()->text861, "     ");
    EXPECT_FALSE(PanelsHookInstalled());
}

TEST_F(ModuleLink, LinkTimerInstallsTheHookAndShutDownRestoresTheEntry) {
    fake::FireTimers();
    ASSERT_TRUE(PanelsHookInstalled());
    EXPECT_EQ(linkage_[40], runtime::AddressWord(&HookedVariableLookup));
    EXPECT_EQ(SimulatorGlobalRecord(), reinterpret_cast<uintptr_t>(global_) + 620);
    EXPECT_EQ(fake::CallsOf("WriteProcessMemory").size(), 17u);
    EXPECT_TRUE(fake::ArmedTimers().empty());

    GetPanelsHookState()->enable = 1;
    SetVorPassThrough(true);
    Detach();
    EXPECT_EQ(linkage_[40], runtime::AddressWord(&SimulatorLookup));
    EXPECT_FALSE(PanelsHookInstalled());
    EXPECT_EQ(GetPanelsHookState()->enable, 0u);
    EXPECT_FALSE(VorPassThrough());
    EXPECT_EQ(GetNavDeviceCount(), 0u);
}

}  // namespace
