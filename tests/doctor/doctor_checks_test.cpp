// mdn-doctor's checks on a fake machine: each installation fault gets its verdict and counts as
// the problem it is, and nothing else in the report moves.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "mdnsrv.h"
#include "platform/fake.h"
#include "platform/files.h"
#include "report.h"

namespace {

constexpr char kFolder[] = "C:\\FS9";
constexpr char kRegistryKey[] = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";
constexpr char kSettings[] = "C:\\FS9\\Meridane\\Common\\Settings\\MDNSERVICES.INI";
constexpr char kOwnLog[] = "C:\\Users\\user\\AppData\\Local\\Meridane\\MdnSrv.log";
constexpr char kBesideLog[] = "C:\\FS9\\Meridane\\Common\\Settings\\MdnSrv.log";
constexpr char kRedirectedLog[] =
    "C:\\Users\\user\\AppData\\Local\\VirtualStore\\FS9\\Meridane\\Common\\Settings\\MdnSrv.log";

// A P6 with SSE2: the x87 unit (bit 0), CMOV (bit 15), SSE2 (bit 26).
constexpr doctor::ProcessorFeatures kPentium4{true, 1u | 1u << 15 | 1u << 26};

const char kKeys[] =
    "[keyboard]\r\n"
    "MDN_NAV_DEVICE_CYCLE=CTRL+SHIFT+F9\r\n"
    "MDN_SIMPLE_VOR_COMPATIBILITY=CTRL+SHIFT+F10\r\n"
    "MDN_DUMP_TFC=CTRL+SHIFT+F11\r\n"
    "MDN_DUMP_KEYS=CTRL+SHIFT+F12\r\n"
    "MDN_ADC_START=CTRL+SHIFT+F8\r\n";

std::string Sample() {
    std::ifstream in(MDN_SAMPLE_SETTINGS, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class Doctor : public ::testing::Test {
  protected:
    void SetUp() override {
        InstallFiles();
        fake::SetRegistryValue(kRegistryKey, "EXE Path", std::string(kFolder) + '\0');
    }
    // A fresh machine with the simulator, the module and the settings file, and no registry.
    void InstallFiles() {
        fake::Reset();
        fake::WriteFile(std::string(kFolder) + "\\fs9.exe", "MZ");
        fake::WriteFile(std::string(kFolder) + "\\PANELS.DLL", "MZ");
        fake::WriteFile(std::string(kFolder) + "\\Modules\\MdnSrv.dll", "MZ");
        fake::SetVersionResource(std::string(kFolder) + "\\PANELS.DLL", {"9.01.040901.01"});
        fake::SetVersionResource(std::string(kFolder) + "\\fs9.exe", {"9.00.000000.00"});
        fake::SetVersionResource(std::string(kFolder) + "\\Modules\\MdnSrv.dll",
                                 {MDN_DOCTOR_VERSION});
        Settings(kKeys);
    }
    void TearDown() override { fake::Reset(); }

    void Settings(const std::string& text) { fake::WriteFile(kSettings, text); }

    // The whole report of one run; problems_ holds its count.
    std::string Run(const doctor::ProcessorFeatures& processor = kPentium4) {
        char* text = nullptr;
        size_t size = 0;
        std::FILE* out = open_memstream(&text, &size);
        doctor::Report report(out);
        doctor::CheckEverything(report, processor);
        std::fclose(out);
        problems_ = report.problems();
        std::string result(text, size);
        std::free(text);
        return result;
    }
    // The report's one line that starts with `start`, or "" when none or several do.
    std::string Line(const std::string& start) {
        std::istringstream lines(Run());
        std::string line, found;
        int count = 0;
        while (std::getline(lines, line)) {
            if (line.rfind(start, 0) == 0) {
                found = line;
                ++count;
            }
        }
        return count == 1 ? found : "";
    }
    bool Shows(const std::string& report, const std::string& line) {
        return report.find(line + "\n") != std::string::npos;
    }

    int problems_ = -1;
};

#define EXPECT_SHOWS(report, line) \
    EXPECT_TRUE(Shows(report, line)) << "missing: " << line << "\n" << report

TEST_F(Doctor, GoodInstallationReportsEveryFindingAndNoProblem) {
    EXPECT_EQ(Run(),
              "ok      processor: has the conditional moves the module needs, and SSE2 for the "
              "faster bitmap loops\n"
              "ok      simulator folder C:\\FS9 (registry value \"EXE Path\")\n"
              "ok      simulator version 9.01.040901.01 (C:\\FS9\\PANELS.DLL): the module runs on "
              "it\n"
              "ok      module C:\\FS9\\Modules\\MdnSrv.dll, version " MDN_DOCTOR_VERSION
              "\n"
              "ok      settings file C:\\FS9\\Meridane\\Common\\Settings\\MDNSERVICES.INI\n"
              "ok      MDN_NAV_DEVICE_CYCLE = CTRL+SHIFT+F9\n"
              "ok      MDN_SIMPLE_VOR_COMPATIBILITY = CTRL+SHIFT+F10\n"
              "ok      MDN_DUMP_TFC = CTRL+SHIFT+F11\n"
              "ok      MDN_DUMP_KEYS = CTRL+SHIFT+F12\n"
              "ok      MDN_ADC_START = CTRL+SHIFT+F8\n"
              "ok      log: off (MDN_LOG in section [diagnostics] is missing or 0)\n"
              "note    log file: the module writes it to "
              "C:\\Users\\user\\AppData\\Local\\Meridane\\MdnSrv.log\n"
              "note    log file: none yet\n"
              "note    simulator is not running: the air-data block is checked while it runs\n"
              "note    C:\\Program Files\\Test\\mdn-bridge.ini: none, so the network bridge would "
              "use its defaults\n");
    EXPECT_EQ(problems_, 0);
}

// Run without elevation, with its manifest and so without registry virtualisation, Windows
// refuses the doctor every right on HKEY_LOCAL_MACHINE but reading: it reads the folder all the
// same.
TEST_F(Doctor, WithoutElevationTheRegistryIsReadWithReadRightsOnly) {
    fake::Fail("RegOpenKeyExA(0x80000002, \"" + std::string(kRegistryKey) + "\", 0, 0xF003F");
    const std::string report = Run();
    EXPECT_SHOWS(report, "ok      simulator folder C:\\FS9 (registry value \"EXE Path\")");
    EXPECT_EQ(problems_, 0) << report;
}

TEST_F(Doctor, SampleSettingsFileAsShippedAndWithItsCommentedLogKeySetOn) {
    const std::string sample = Sample();
    ASSERT_NE(sample.find("\n;MDN_LOG=1"), std::string::npos) << "the sample's log key moved";
    Settings(sample);
    std::string report = Run();
    EXPECT_SHOWS(report, "ok      MDN_ADC_START = CTRL+SHIFT+F8");
    EXPECT_SHOWS(report, "ok      log: off (MDN_LOG in section [diagnostics] is missing or 0)");
    EXPECT_EQ(problems_, 0);

    std::string on = sample;
    on.replace(on.find("\n;MDN_LOG=1"), 11, "\nMDN_LOG=1");
    Settings(on);
    report = Run();
    EXPECT_SHOWS(report, "ok      log: on (MDN_LOG=1: events and refusals)");
    EXPECT_EQ(report.find("PROBLEM"), std::string::npos) << report;
    EXPECT_EQ(problems_, 0);
}

// ---- the simulator folder, its version, the module and the settings file ----------------------

TEST_F(Doctor, MissingRegistryValueIsAProblemAndLeavesTheFolderChecksOut) {
    fake::Reset();
    const std::string report = Run();
    EXPECT_SHOWS(report,
                 "PROBLEM simulator folder: the registry value \"EXE Path\" under "
                 "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0 "
                 "is missing; the module will ask for the folder when the simulator starts");
    EXPECT_SHOWS(report, "note    the checks inside the simulator folder are left out");
    EXPECT_EQ(report.find("settings file C:"), std::string::npos) << report;
    EXPECT_EQ(report.find("log file C:"), std::string::npos) << report;
    EXPECT_EQ(problems_, 1);
}

TEST_F(Doctor, WithoutRegistryValueTheFolderTheDoctorLiesInStandsIn) {
    InstallFiles();
    fake::SetProgramPath("C:\\FS9\\Meridane\\Tools\\mdn-doctor.exe");
    const std::string report = Run();
    EXPECT_SHOWS(report,
                 "note    the checks below are made in C:\\FS9, the simulator folder mdn-doctor "
                 "lies in; choose that folder when the module asks for it");
    EXPECT_SHOWS(report, "ok      settings file " + std::string(kSettings));
    EXPECT_SHOWS(report,
                 "note    C:\\FS9\\Meridane\\Tools\\mdn-bridge.ini: none, so the network "
                 "bridge would use its defaults");
    EXPECT_EQ(problems_, 1) << report;
}

TEST_F(Doctor, RegisteredFolderWithoutFs9IsAProblem) {
    fake::MakeDirectory("C:\\Games");
    fake::SetRegistryValue(kRegistryKey, "EXE Path", std::string("C:\\Games\\") + '\0');
    const std::string report = Run();
    EXPECT_SHOWS(report,
                 "PROBLEM simulator folder C:\\Games (registry value \"EXE Path\") holds no "
                 "fs9.exe; the module will ask for the folder when the simulator starts");
    EXPECT_SHOWS(report, "note    the checks inside the simulator folder are left out");
    EXPECT_EQ(problems_, 1);
}

TEST_F(Doctor, SimulatorVersionComesFromPanelsOrElseFs9) {
    fake::SetVersionResource(std::string(kFolder) + "\\PANELS.DLL", {"9.00.000000.00"});
    EXPECT_EQ(Line("PROBLEM simulator version"),
              "PROBLEM simulator version 9.00.000000.00 (C:\\FS9\\PANELS.DLL): the module does "
              "not run on it (it needs 9.00.030612.02 or a 9.01 version) and will stay inactive");
    EXPECT_EQ(problems_, 1);

    platform::DeleteFileA((std::string(kFolder) + "\\PANELS.DLL").c_str());
    EXPECT_NE(Line("PROBLEM simulator version 9.00.000000.00 (C:\\FS9\\fs9.exe)"), "");
    EXPECT_EQ(problems_, 1);

    fake::SetVersionResource(std::string(kFolder) + "\\fs9.exe", {std::nullopt});
    EXPECT_EQ(Line("PROBLEM simulator version"),
              "PROBLEM simulator version: C:\\FS9\\fs9.exe carries no version text; the module "
              "will say it runs on the wrong version and stay inactive");
}

TEST_F(Doctor, ModuleMissingOrForeignOrOfAnotherVersion) {
    fake::SetVersionResource(std::string(kFolder) + "\\Modules\\MdnSrv.dll", {"5.2.0.0"});
    EXPECT_EQ(Line("ok      module"),
              "ok      module C:\\FS9\\Modules\\MdnSrv.dll, version 5.2.0.0 "
              "(this mdn-doctor came with " MDN_DOCTOR_VERSION ")");
    EXPECT_EQ(problems_, 0);

    fake::SetVersionResource(std::string(kFolder) + "\\Modules\\MdnSrv.dll", {std::nullopt});
    EXPECT_EQ(Line("PROBLEM module"),
              "PROBLEM module C:\\FS9\\Modules\\MdnSrv.dll carries no "
              "version text: it is not a Meridane service module");
    EXPECT_EQ(problems_, 1);

    platform::DeleteFileA((std::string(kFolder) + "\\Modules\\MdnSrv.dll").c_str());
    EXPECT_EQ(Line("PROBLEM module"),
              "PROBLEM module C:\\FS9\\Modules\\MdnSrv.dll is missing: the simulator will not "
              "load it");
    EXPECT_EQ(problems_, 1);
}

TEST_F(Doctor, MissingSettingsFileIsOneProblemAndNoKeyIsJudged) {
    platform::DeleteFileA(kSettings);
    const std::string report = Run();
    EXPECT_SHOWS(report, "PROBLEM settings file " + std::string(kSettings) +
                             " is missing: none of the module's own commands gets a key");
    EXPECT_SHOWS(report, "note    log: off (its setting is in the settings file)");
    EXPECT_EQ(report.find("MDN_DUMP_KEYS"), std::string::npos) << report;
    EXPECT_EQ(problems_, 1);
}

// ---- the keys ----------------------------------------------------------------------------------

TEST_F(Doctor, KeyTextsAreJudgedAsTheModuleBindsThem) {
    struct Case {
        const char* written;
        const char* line;
        int problems;
    } const cases[] = {
        {"CTRL+ESCAPE",
         "PROBLEM MDN_ADC_START = \"CTRL+ESCAPE\": not understood, it names no key; the command "
         "gets no key",
         1},
        {"CTRL+A+B",
         "PROBLEM MDN_ADC_START = \"CTRL+A+B\": names 2 keys, and the module binds only the last: "
         "CTRL+B",
         1},
        {"shift ctrl f7", "ok      MDN_ADC_START = CTRL+SHIFT+F7 (written \"shift ctrl f7\")", 0},
        {"INVALID", "note    MDN_ADC_START: no key (left out, or INVALID)", 0},
    };
    for (const Case& c : cases) {
        std::string text = kKeys;
        text.replace(text.find("CTRL+SHIFT+F8"), 13, c.written);
        Settings(text);
        EXPECT_EQ(Line(std::string(c.line).substr(0, 8) + "MDN_ADC_START"), c.line) << c.written;
        EXPECT_EQ(problems_, c.problems) << c.written;
    }
}

TEST_F(Doctor, OneKeyForTwoCommandsIsAProblem) {
    std::string text = kKeys;
    text.replace(text.find("CTRL+SHIFT+F12"), 14, "shift ctrl f9");
    Settings(text);
    const std::string report = Run();
    EXPECT_SHOWS(report, "ok      MDN_DUMP_KEYS = CTRL+SHIFT+F9 (written \"shift ctrl f9\")");
    EXPECT_SHOWS(report,
                 "PROBLEM CTRL+SHIFT+F9 is bound to both MDN_NAV_DEVICE_CYCLE and MDN_DUMP_KEYS: "
                 "the key can work for one of them only");
    EXPECT_EQ(problems_, 1);
}

TEST_F(Doctor, CommandListedTwiceNamesTheLineTheModuleReads) {
    Settings(std::string(kKeys) +
             "; again\r\nmdn_dump_keys = CTRL+F1\r\n[other]\r\n"
             "MDN_DUMP_KEYS=CTRL+F2\r\n");
    const std::string report = Run();
    EXPECT_SHOWS(report, "ok      MDN_DUMP_KEYS = CTRL+SHIFT+F12");
    EXPECT_SHOWS(report,
                 "PROBLEM MDN_DUMP_KEYS is listed 2 times in section [keyboard]: the module reads "
                 "line 5, the first, and ignores the others");
    EXPECT_EQ(problems_, 1);
}

TEST_F(Doctor, UnknownNameInKeyboardSectionIsAProblemButACommentIsNot) {
    Settings(std::string(kKeys) +
             ";MDN_DUMP_KEY=CTRL+F1\r\nMDN_DUMP_KEY=CTRL+F2\r\n"
             "mdn_adc_start=CTRL+F3\r\n[diagnostics]\r\nMDN_LOG=0\r\n");
    const std::string report = Run();
    EXPECT_SHOWS(report,
                 "PROBLEM MDN_DUMP_KEY in section [keyboard] is none of the module's commands; it "
                 "is ignored");
    EXPECT_EQ(report.find("MDN_LOG in section [keyboard]"), std::string::npos) << report;
    // The name in another case is the command, listed twice.
    EXPECT_EQ(report.find("mdn_adc_start in section"), std::string::npos) << report;
    EXPECT_SHOWS(report,
                 "PROBLEM MDN_ADC_START is listed 2 times in section [keyboard]: the module reads "
                 "line 6, the first, and ignores the others");
    EXPECT_EQ(problems_, 2);
}

// Every section the module reads is held to its keys: a misspelt setting does nothing too.
TEST_F(Doctor, UnknownNameInDiagnosticsSectionIsAProblem) {
    Settings(std::string(kKeys) + "[diagnostics]\r\nMDN_LOG=1\r\nMDN_LOGS=2\r\n");
    const std::string report = Run();
    EXPECT_SHOWS(report,
                 "PROBLEM MDN_LOGS in section [diagnostics] is none of the module's settings; it "
                 "is ignored");
    EXPECT_EQ(report.find("MDN_LOG in section"), std::string::npos) << report;
    EXPECT_EQ(problems_, 1);
}

// ---- the diagnostic log ------------------------------------------------------------------------

TEST_F(Doctor, LogLevelsAsTheModuleReadsThem) {
    struct Case {
        const char* value;
        const char* line;
        int problems;
    } const cases[] = {
        {"0", "ok      log: off (MDN_LOG in section [diagnostics] is missing or 0)", 0},
        {"1", "ok      log: on (MDN_LOG=1: events and refusals)", 0},
        {"2", "ok      log: on (MDN_LOG=2: events, refusals and every operation a gauge calls)", 0},
        {"7",
         "note    log: on at level 2 (MDN_LOG=7: there is no level above 2, so it counts as 2; "
         "write 2)",
         0},
        {"on",
         "PROBLEM log: MDN_LOG in section [diagnostics] is not understood, so the log stays off; "
         "write 0 (off), 1 or 2",
         1},
    };
    for (const Case& c : cases) {
        Settings(std::string(kKeys) + "[diagnostics]\r\nMDN_LOG=" + c.value + "\r\n");
        EXPECT_EQ(Line(std::string(c.line).substr(0, 13)), c.line) << "MDN_LOG=" << c.value;
        EXPECT_EQ(problems_, c.problems) << "MDN_LOG=" << c.value;
    }
}

TEST_F(Doctor, LogFileFoundInEachPlaceTheModuleWritesIt) {
    SYSTEMTIME written{};
    written.wYear = 2024;
    written.wMonth = 3;
    written.wDay = 5;
    written.wHour = 23;
    written.wMinute = 30;
    for (const char* path : {kOwnLog, kBesideLog, kRedirectedLog}) {
        fake::WriteFile(path, "log opened\r\n");
        fake::SetLastWriteTime(path, written);
    }
    fake::SetTimeZoneBias(-60);  // an hour east of UTC: the local date is the next day
    const std::string report = Run();
    const std::string at = ", 12 bytes, last written 2024-03-06 00:30";
    EXPECT_NE(report.find("note    log file " + std::string(kOwnLog) + at +
                          "\n"
                          "note    log file " +
                          kBesideLog + at +
                          "\n"
                          "note      (beside the settings file: written when the module could "
                          "not write its own folder, or by an older version)\n"
                          "note    log file " +
                          kRedirectedLog + at +
                          "\n"
                          "note      (Windows redirected it there from beside the settings file"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("none yet"), std::string::npos) << report;
    EXPECT_EQ(problems_, 0);
}

TEST_F(Doctor, LogFileOnlyInVirtualStoreOrOnlyBesideIsStillFound) {
    fake::WriteFile(kRedirectedLog, "x");
    std::string report = Run();
    EXPECT_NE(report.find("note    log file " + std::string(kRedirectedLog) + ", 1 bytes"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("none yet"), std::string::npos) << report;

    platform::DeleteFileA(kRedirectedLog);
    fake::WriteFile(kBesideLog, "xy");
    report = Run();
    EXPECT_NE(report.find("note    log file " + std::string(kBesideLog) + ", 2 bytes"),
              std::string::npos)
        << report;
    // A folder of the log's name is no log.
    platform::DeleteFileA(kBesideLog);
    fake::MakeDirectory(kOwnLog);
    EXPECT_EQ(Line("note    log file: none yet"), "note    log file: none yet");
}

// ---- the running simulator and the processor ---------------------------------------------------

TEST_F(Doctor, RunningSimulatorWithoutTheAirDataBlockIsAProblem) {
    fake::AddWindow("FS98MAIN");
    EXPECT_EQ(Line("PROBLEM simulator is running"),
              "PROBLEM simulator is running, but the air-data block does not exist: the module "
              "is not loaded");
    EXPECT_EQ(problems_, 1);

    fake::OpenMappingAsReader(MDN_AIRDATA_NAME, MDN_AIRDATA_SIZE);
    EXPECT_EQ(Line("ok      simulator is running"),
              "ok      simulator is running and the air-data block exists");
    EXPECT_EQ(problems_, 0);
    EXPECT_EQ(fake::OpenMappingHandleCount(), 0) << "the doctor's handle to the block is closed";
}

TEST_F(Doctor, ProcessorWithoutConditionalMovesIsAProblem) {
    struct Case {
        doctor::ProcessorFeatures processor;
        const char* line;
        int problems;
    } const cases[] = {
        {{true, 1u | 1u << 15}, "ok      processor: has the conditional moves the module needs", 0},
        {{true, 1u | 1u << 26},
         "PROBLEM processor: has no conditional moves (CMOV); the module needs a Pentium Pro, "
         "Pentium II or later (the simulator would end as it loads the module)",
         1},
        {{true, 1u << 15},  // CMOV without the x87 unit: no FCMOV, FCOMI
         "PROBLEM processor: has no conditional moves (CMOV); the module needs a Pentium Pro, "
         "Pentium II or later (the simulator would end as it loads the module)",
         1},
        {{false, 0},
         "PROBLEM processor: does not say what it supports; the module needs a Pentium Pro, "
         "Pentium II or later (the simulator would end as it loads the module)",
         1},
    };
    for (const Case& c : cases) {
        const std::string report = Run(c.processor);
        EXPECT_EQ(report.substr(0, report.find('\n')), c.line);
        EXPECT_EQ(problems_, c.problems) << c.line;
    }
}

TEST_F(Doctor, ProblemsAddUpAcrossChecks) {
    std::string text = kKeys;
    text.replace(text.find("CTRL+SHIFT+F8"), 13, "CTRL+ESCAPE");
    Settings(text + "[diagnostics]\r\nMDN_LOG=yes\r\n");
    fake::AddWindow("FS98MAIN");
    Run({true, 0});
    EXPECT_EQ(problems_, 4);
}

}  // namespace
