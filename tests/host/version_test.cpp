#include "host/sim_location.h"
#include "support/module_fixture.h"

namespace {

using test::FreshModule;

TEST_F(FreshModule, VersionDigitsComeFromTheOwnFileVersion) {
    fake::SetVersionResource("MdnSrv.dll", {"5.3.0.1"});
    ASSERT_TRUE(host::ReadVersionText(nullptr, nullptr));
    EXPECT_EQ(std::string(host::VersionDigits(), 4), "5301");
    EXPECT_EQ(host::PackedVersion(), 0x05030001u);
}

}  // namespace
