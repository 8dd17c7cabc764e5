// Loaded modules and their exports, and what VirtualQuery says of the process's memory: how
// the module finds the simulator's functions and checks an address before it reads there.
#include <cctype>
#include <string>

#include "contract_check.h"
#include "platform/kernel.h"
#include "platform/win_memory.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST(Modules, FoundByNameWithoutCaseWithTheirExports) {
    contract::ArrangeLoadedModule();
    const HMODULE module = platform::GetModuleHandleA(contract::kLoadedModule);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(platform::GetModuleHandleA(Lower(contract::kLoadedModule).c_str()), module);
    EXPECT_EQ(platform::GetModuleHandleA("MdnContractAbsent.dll"), nullptr);

    EXPECT_NE(platform::GetProcAddress(module, contract::kItsExport), nullptr);
    EXPECT_EQ(platform::GetProcAddress(module, "MdnContractAbsentExport"), nullptr);
}

TEST(Modules, FileNameIsAFullPathEndingInTheModulesName) {
    contract::ArrangeLoadedModule();
    const HMODULE module = platform::GetModuleHandleA(contract::kLoadedModule);
    ASSERT_NE(module, nullptr);
    char path[260] = "";
    const DWORD n = platform::GetModuleFileNameA(module, path, sizeof path);
    ASSERT_NE(n, 0u);
    EXPECT_EQ(n, std::string(path).size());
    const std::string name = Lower(contract::kLoadedModule);
    const std::string got = Lower(path);
    EXPECT_EQ(got.substr(got.size() - name.size()), name);
    EXPECT_EQ(got.substr(1, 2), ":\\");
}

TEST(VirtualMemory, AStackVariableLiesInACommittedWritableRegion) {
    int local = 0;
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_EQ(platform::VirtualQuery(&local, &info, sizeof info), sizeof info);
    EXPECT_EQ(info.State, static_cast<DWORD>(MEM_COMMIT));
    EXPECT_EQ(info.Protect & 0xFF, static_cast<DWORD>(PAGE_READWRITE));
    const auto address = reinterpret_cast<uintptr_t>(&local);
    const auto base = reinterpret_cast<uintptr_t>(info.BaseAddress);
    EXPECT_LE(base, address);
    EXPECT_LT(address, base + info.RegionSize);
    EXPECT_EQ(base % 4096, 0u);
}

void SomeCode() {}

TEST(VirtualMemory, CodeIsExecutableAndNotWritable) {
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_EQ(platform::VirtualQuery(reinterpret_cast<const void*>(&SomeCode), &info, sizeof info),
              sizeof info);
    EXPECT_EQ(info.State, static_cast<DWORD>(MEM_COMMIT));
    EXPECT_EQ(info.Protect & 0xFF, static_cast<DWORD>(PAGE_EXECUTE_READ));
}

TEST(VirtualMemory, TheFirstPageIsFree) {
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_EQ(platform::VirtualQuery(reinterpret_cast<const void*>(16), &info, sizeof info),
              sizeof info);
    EXPECT_EQ(info.State, static_cast<DWORD>(MEM_FREE));
    EXPECT_EQ(info.BaseAddress, nullptr);
}

}  // namespace
