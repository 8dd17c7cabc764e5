// The contract tests' set-up on the fake port.
#include <gtest/gtest.h>

#include "contract_setup.h"
#include "platform/fake.h"

namespace contract {
namespace {

// Every test starts from a fresh fake, as every Windows test starts from a fresh world.
class FreshEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { Fresh(); }
    void OnTestEnd(const ::testing::TestInfo&) override { fake::Reset(); }
};
[[maybe_unused]] const bool listening = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshEachTest);
    return true;
}();

int exported_function() {
    return 0;
}

}  // namespace

const Port kPort = Port::kFake;
const char* const kTestKey = "Software\\Meridane\\ContractTests";
const char* const kLoadedModule = "KERNEL32.dll";
const char* const kItsExport = "GetTickCount";

void Fresh() {
    fake::Reset();
    fake::MakeDirectory(Folder());
}

HWND MakeWindow(const char* class_name) {
    return fake::AddAnotherWindow(class_name);
}

std::string Folder() {
    return "C:\\ContractTests";
}

void WriteTextFile(const std::string& path, const std::string& content) {
    fake::WriteFile(path, content);
}

bool ReadTextFile(const std::string& path, std::string& content) {
    const auto text = fake::ReadFile(path);
    if (text)
        content = *text;
    return text.has_value();
}

void ArrangeLoadedModule() {
    const HMODULE module = fake::AddModule(kLoadedModule, "C:\\windows\\system32\\kernel32.dll");
    fake::AddExport(module, kItsExport, reinterpret_cast<const void*>(&exported_function));
}

}  // namespace contract
