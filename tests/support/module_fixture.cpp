#include "support/module_fixture.h"

#include <sstream>

#include "host/module_entry.h"
#include "platform/win_kernel.h"
#include "service/exports.h"

namespace test {

void FreshModule::SetUp() {
    fake::Reset();
    ImportTable[0].table = nullptr;
    host::OnLoad();
}

void FreshModule::TearDown() {
    host::OnUnload();
    ImportTable[0].table = nullptr;
    fake::Reset();
}

void InstallSimulator(const std::string& panels_version) {
    fake::WriteFile(std::string(kSimulatorFolder) + "\\fs9.exe", "MZ");
    fake::SetRegistryValue(kRegistryKey, "EXE Path", std::string(kSimulatorFolder) + '\0');
    fake::AddModule("fs9.exe", std::string(kSimulatorFolder) + "\\fs9.exe");
    fake::AddModule("PANELS.DLL", std::string(kSimulatorFolder) + "\\MODULES\\PANELS.DLL");
    fake::SetVersionResource(std::string(kSimulatorFolder) + "\\MODULES\\PANELS.DLL",
                             {panels_version});
    fake::SetVersionResource(std::string(kSimulatorFolder) + "\\fs9.exe", {"9.1.0.40901"});
    fake::SetVersionResource("MdnSrv.dll", {"5.3.0.1"});
}

void AttachedModule::SetUp() {
    FreshModule::SetUp();
    InstallSimulator();
    window_ = fake::AddWindow("FS98MAIN");
    host::ModuleEntry(reinterpret_cast<HINSTANCE>(0x6d000000), DLL_PROCESS_ATTACH);
}

void AttachedModule::Detach() {
    if (detached_)
        return;
    detached_ = true;
    host::ModuleEntry(reinterpret_cast<HINSTANCE>(0x6d000000), DLL_PROCESS_DETACH);
}

void AttachedModule::TearDown() {
    Detach();
    FreshModule::TearDown();
}

::testing::AssertionResult SameCalls(const std::vector<std::string>& expected,
                                     const std::vector<std::string>& actual) {
    if (expected == actual)
        return ::testing::AssertionSuccess();
    std::ostringstream out;
    out << "call sequences differ\n";
    const size_t n = std::max(expected.size(), actual.size());
    for (size_t i = 0; i < n; ++i) {
        const std::string e = i < expected.size() ? expected[i] : "(none)";
        const std::string a = i < actual.size() ? actual[i] : "(none)";
        out << (e == a ? "   " : "-> ") << "expected " << e << "\n   " << (e == a ? "   " : "   ")
            << "     got " << a << "\n";
    }
    return ::testing::AssertionFailure() << out.str();
}

}  // namespace test
