// A fresh module on a fresh fake machine for each test: the fake world reset, the module's
// load-time objects created, and torn down again afterwards.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake.h"

namespace test {

class FreshModule : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
};

// A module attached in an accepted simulator with its main window, the way the simulator
// loads it: PANELS.DLL with an accepted version, the window "FS98MAIN", the folder found.
class AttachedModule : public FreshModule {
  protected:
    void SetUp() override;
    void TearDown() override;
    HWND window_ = nullptr;
    bool detached_ = false;
    void Detach();
};

constexpr char kSimulatorFolder[] = "C:\\FS9";
constexpr char kRegistryKey[] = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";

// Makes the simulator installation the module looks for: fs9.exe in the folder, the
// registry value, PANELS.DLL and fs9.exe loaded with version texts, the module's own version.
void InstallSimulator(const std::string& panels_version = "9.01.040901.01");

// Prints two call sequences side by side when they differ.
::testing::AssertionResult SameCalls(const std::vector<std::string>& expected,
                                     const std::vector<std::string>& actual);

}  // namespace test
