// The settings file binds the module's own commands; the own key client carries them out.
#include <gtest/gtest.h>

#include "host/module_entry.h"
#include "host/module_state.h"
#include "host/settings.h"
#include "host/settings_file.h"
#include "host/workers.h"
#include "keyboard/key_clients.h"
#include "keyboard/keyboard.h"
#include "navigation/navigation.h"
#include "support/module_fixture.h"

namespace {

const char kSettings[] = "C:\\FS9\\Meridane\\Common\\Settings\\MDNSERVICES.INI";
HINSTANCE const kInstance = reinterpret_cast<HINSTANCE>(0x6d000000);

class OwnCommands : public test::FreshModule {
  protected:
    void Start(const std::string& settings) {
        test::InstallSimulator();
        window_ = fake::AddWindow("FS98MAIN");
        if (!settings.empty())
            fake::WriteFile(kSettings, settings);
        host::ModuleEntry(kInstance, DLL_PROCESS_ATTACH);
    }
    void TearDown() override {
        host::ModuleEntry(kInstance, DLL_PROCESS_DETACH);
        FreshModule::TearDown();
    }
    uint32_t Command(const char* name) { return keyboard::FindKeyCommand(name); }
    void Fire(const char* name) {
        const uint32_t id = Command(name);
        ASSERT_NE(id, 0u) << name;
        ASSERT_EQ(keyboard::FireKeyCommand(id), 1u) << name;
    }
    HWND window_ = nullptr;
};

TEST_F(OwnCommands, AFileWithOnlyTheKeyDumpBindsThatOneCommand) {
    Start("[keyboard]\nMDN_DUMP_KEYS=ctrl+shift+f12\n");
    EXPECT_NE(Command("MDN_DUMP_KEYS"), 0u);
    for (const char* other : host::kOwnCommands) {
        if (std::string(other) != host::kDumpKeys) {
            EXPECT_EQ(Command(other), 0u) << other;
        }
    }
    const auto hot_keys = fake::CallsOf("RegisterHotKey");
    ASSERT_EQ(hot_keys.size(), 1u);
    EXPECT_NE(hot_keys[0].find(", MOD_CONTROL|MOD_SHIFT, 123)"), std::string::npos) << hot_keys[0];
}

TEST_F(OwnCommands, InvalidIsAbsentButALongerValueIsHandedOn) {
    Start("[keyboard]\nMDN_DUMP_KEYS=INVALID\nMDN_ADC_START=INVALIDX\n");
    EXPECT_EQ(Command("MDN_DUMP_KEYS"), 0u);
    EXPECT_NE(Command("MDN_ADC_START"), 0u) << "INVALIDX names no key but still binds";
    EXPECT_TRUE(fake::CallsOf("RegisterHotKey").empty());
}

TEST_F(OwnCommands, MissingEmptyOrDirectorySettingsBindNothingAndSayNothing) {
    for (const std::string& body :
         {std::string(), std::string("\n"), std::string("[other]\nMDN_DUMP_KEYS=F1\n")}) {
        fake::Reset();
        host::OnUnload();
        host::OnLoad();
        Start(body);
        EXPECT_EQ(Command("MDN_DUMP_KEYS"), 0u);
        EXPECT_TRUE(fake::MessageBoxes().empty());
        host::ModuleEntry(kInstance, DLL_PROCESS_DETACH);
    }
    fake::Reset();
    host::OnUnload();
    host::OnLoad();
    fake::MakeDirectory(kSettings);
    Start("");
    EXPECT_EQ(Command("MDN_DUMP_KEYS"), 0u);
    EXPECT_TRUE(fake::CallsOf("GetPrivateProfileStringA").empty());
}

TEST_F(OwnCommands, ValuesOfAnyBytesAndLengthNeverOverflow) {
    Start("[keyboard]\nMDN_DUMP_KEYS=" + std::string(1000, 'F') + "\nMDN_ADC_START=\x80\xff+\t+\n" +
          "MDN_DUMP_TFC=++++\n");
    EXPECT_EQ(Command("MDN_NAV_DEVICE_CYCLE"), 0u);
    EXPECT_TRUE(fake::CallsOf("RegisterHotKey").empty());
}

TEST_F(OwnCommands, VorCompatibilityTwiceLeavesTheFlagWhereItStarted) {
    Start("[keyboard]\nMDN_SIMPLE_VOR_COMPATIBILITY=CTRL+SHIFT+F10\n");
    Fire("MDN_SIMPLE_VOR_COMPATIBILITY");
    EXPECT_TRUE(navigation::VorPassThrough());
    Fire("MDN_SIMPLE_VOR_COMPATIBILITY");
    EXPECT_FALSE(navigation::VorPassThrough());
}

TEST_F(OwnCommands, AirDataStartTwiceLeavesOneThread) {
    Start("[keyboard]\nMDN_ADC_START=CTRL+SHIFT+F8\n");
    EXPECT_TRUE(host::AirDataThread().Stopped());
    Fire("MDN_ADC_START");
    Fire("MDN_ADC_START");
    EXPECT_FALSE(host::AirDataThread().Stopped());
    EXPECT_EQ(fake::CallsOf("_beginthreadex").size(), 1u);
    EXPECT_TRUE(fake::CallsOf("MessageBeep").empty());
}

TEST_F(OwnCommands, KeyDumpWritesTheFileAndBeeps) {
    Start("[keyboard]\nMDN_DUMP_KEYS=ctrl+alt+f12\nMDN_NAV_DEVICE_CYCLE=shift ctrl f1\n");
    Fire("MDN_DUMP_KEYS");
    EXPECT_EQ(fake::ReadFile("C:\\FS9\\MDNSERVICES_KeysDump.txt"),
              std::string("MDN_NAV_DEVICE_CYCLE=CTRL+SHIFT+F1\nMDN_DUMP_KEYS=ALT+CTRL+F12\n"));
    EXPECT_EQ(fake::CallsOf("MessageBeep"), std::vector<std::string>{"MessageBeep(0)"});
}

TEST_F(OwnCommands, TrafficDumpAppendsAndBeepsOnce) {
    Start("[keyboard]\nMDN_DUMP_TFC=CTRL+SHIFT+F11\n");
    Fire("MDN_DUMP_TFC");
    EXPECT_EQ(fake::CallsOf("MessageBeep"), std::vector<std::string>{"MessageBeep(0)"});
    const auto dump = fake::ReadFile("C:\\dbgFsAiTfc.txt");
    ASSERT_TRUE(dump.has_value());
    EXPECT_NE(dump->find("Missing FS Module: TrafficInfo.DLL"), std::string::npos) << *dump;
}

uint32_t cycled_to = 0;
void MDN_STDCALL GaugeDevice() {
    ++cycled_to;
}

TEST_F(OwnCommands, NavDeviceCycleMakesTheNextDeviceActive) {
    Start("[keyboard]\nMDN_NAV_DEVICE_CYCLE=CTRL+SHIFT+F9\n");
    cycled_to = 0;
    const uint32_t gauge = navigation::RegisterNavDevice(&GaugeDevice, "Gauge GPS", "GGPS");
    Fire("MDN_NAV_DEVICE_CYCLE");
    EXPECT_EQ(navigation::IsNavDeviceActive(gauge), 1u);
    EXPECT_EQ(cycled_to, 1u);
    Fire("MDN_NAV_DEVICE_CYCLE");
    EXPECT_EQ(navigation::IsNavDeviceActive(host::Module().simulator_gps_device), 1u);
    navigation::UnregisterNavDevice(gauge);
}

bool vor_seen_by_device = false;
void MDN_STDCALL DeviceNotingVor() {
    vor_seen_by_device = navigation::VorPassThrough();
}

// Two presses can wait in the queue before the handler runs; one call carries out both, the
// older first: the device made active by the cycle sees the VOR switch already flipped.
TEST_F(OwnCommands, TheHandlerTakesEveryPendingEventOldestFirst) {
    Start(
        "[keyboard]\nMDN_SIMPLE_VOR_COMPATIBILITY=CTRL+SHIFT+F10\n"
        "MDN_NAV_DEVICE_CYCLE=CTRL+SHIFT+F9\n");
    vor_seen_by_device = false;
    const uint32_t gauge = navigation::RegisterNavDevice(&DeviceNotingVor, "Gauge GPS", "GGPS");
    keyboard::KeyClient* own = keyboard::FindKeyClient(host::Module().own_key_client);
    ASSERT_NE(own, nullptr);
    for (const char* name : {"MDN_SIMPLE_VOR_COMPATIBILITY", "MDN_NAV_DEVICE_CYCLE"}) {
        for (const MdnKeyBinding& b : own->bindings) {
            if (b.command == Command(name)) {
                ASSERT_TRUE(own->queue.Push(b)) << name;
            }
        }
    }
    host::OwnCommandHandler();
    EXPECT_TRUE(navigation::VorPassThrough());
    EXPECT_EQ(navigation::IsNavDeviceActive(gauge), 1u);
    EXPECT_TRUE(vor_seen_by_device);
    EXPECT_EQ(keyboard::NextKeyEvent(host::Module().own_key_client, nullptr, nullptr), 0u);
    navigation::UnregisterNavDevice(gauge);
}

}  // namespace

// ---- the diagnostic log's view of attach, settings and detach ----

const char kLog[] = "C:\\Users\\user\\AppData\\Local\\Meridane\\MdnSrv.log";

// Each expected piece appears, in this order.
::testing::AssertionResult SaysInOrder(const std::string& log,
                                       const std::vector<std::string>& pieces) {
    size_t at = 0;
    for (const std::string& piece : pieces) {
        const size_t found = log.find(piece, at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << "missing \"" << piece << "\" in:\n" << log;
        at = found + piece.size();
    }
    return ::testing::AssertionSuccess();
}

TEST_F(OwnCommands, LogOnTellsAttachEachBindingTheLinkAndDetach) {
    const HWND other_program = fake::AddWindow("OtherProgram");
    platform::RegisterHotKey(other_program, 1, MOD_CONTROL, 0x74);  // CTRL+F5 held elsewhere
    Start(
        "[diagnostics]\nMDN_LOG=1\n[keyboard]\nMDN_DUMP_KEYS=ctrl+f12\n"
        "MDN_DUMP_TFC=CTRL+F5\nMDN_ADC_START=INVALIDX\n");
    fake::FireTimers();  // PANELS.DLL without Linkage: not yet
    host::ModuleEntry(kInstance, DLL_PROCESS_DETACH);
    EXPECT_TRUE(SaysInOrder(
        fake::ReadFile(kLog).value_or(""),
        {"log opened at level 1",
         "attach: simulator folder \"C:\\\\FS9\", from the registry value \"EXE Path\"",
         "attach: simulator version \"9.01.040901.01\" read from PANELS.DLL: accepted",
         "attach: simulator window FS98MAIN 0x", "attach: air-data block created",
         "attach: call-window-procedure hook installed", "attach: get-message hook installed",
         "settings: MDN_NAV_DEVICE_CYCLE = \"INVALID\" (absent or INVALID): no key",
         "settings: MDN_DUMP_TFC = \"CTRL+F5\" bound",
         "settings: MDN_DUMP_KEYS = \"CTRL+F12\" bound",
         "settings: MDN_ADC_START = \"INVALIDX\" not understood by the key grammar",
         "hot key \"CTRL+F5\" for command \"MDN_DUMP_TFC\" refused by Windows (error 1409): "
         "another program holds the combination",
         "start-up done; link timer armed", "link: not yet: PANELS.DLL exports no Linkage",
         "detach: shutting down", "detach: done"}));
}

// Windows refuses the second of two commands on one combination; the log names the first, not
// some other program.
TEST_F(OwnCommands, LogNamesTheModulesOwnCommandThatHoldsAKey) {
    Start(
        "[diagnostics]\nMDN_LOG=1\n[keyboard]\nMDN_NAV_DEVICE_CYCLE=CTRL+SHIFT+F9\n"
        "MDN_DUMP_KEYS=CTRL+SHIFT+F9\n");
    host::ModuleEntry(kInstance, DLL_PROCESS_DETACH);
    EXPECT_TRUE(SaysInOrder(fake::ReadFile(kLog).value_or(""),
                            {"hot key \"CTRL+SHIFT+F9\" for command \"MDN_DUMP_KEYS\" refused by "
                             "Windows (error 1409): the module's command "
                             "\"MDN_NAV_DEVICE_CYCLE\" holds the combination"}));
}

TEST_F(OwnCommands, LogOnTellsARefusedVersion) {
    fake::WriteFile(kSettings, "[diagnostics]\nMDN_LOG=2\n");
    test::InstallSimulator("9.00.030612.01");
    fake::AddWindow("FS98MAIN");
    host::ModuleEntry(kInstance, DLL_PROCESS_ATTACH);
    EXPECT_TRUE(
        SaysInOrder(fake::ReadFile(kLog).value_or(""), {"log opened at level 2",
                                                        "\"9.00.030612.01\" read from PANELS.DLL: "
                                                        "refused: the module stays inactive"}));
}

TEST_F(OwnCommands, LogOffOrNotALevelWritesNothingAnywhere) {
    for (const char* setting : {"", "MDN_LOG=0\n", "MDN_LOG=yes\n"}) {
        SCOPED_TRACE(setting);
        fake::Reset();
        host::OnLoad();
        Start(std::string("[diagnostics]\n") + setting + "[keyboard]\nMDN_DUMP_KEYS=F1\n");
        keyboard::AddKeyCommand(0x1234, "X", 0, 0);  // a refusal
        host::ModuleEntry(kInstance, DLL_PROCESS_DETACH);
        host::OnUnload();
        EXPECT_TRUE(fake::CallsOf({"CreateFileA", "SHGetFolderPathA"}).empty());
    }
    host::OnLoad();
}
