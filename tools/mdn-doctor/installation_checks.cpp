// Where the simulator is, whether the module runs on its version, whether the module and its
// settings file are in place: each judged by the module's own code.
#include <cstring>

#include "host/settings_file.h"
#include "host/sim_location.h"
#include "platform/kernel.h"
#include "report.h"
#include "runtime/module_version.h"

namespace doctor {
namespace {

constexpr char kModuleFile[] = "\\Modules\\MdnSrv.dll";

// A separator at the end of the registry value would be doubled in every path joined to it.
void TrimSeparators(char* folder) {
    size_t length = std::strlen(folder);
    while (length > 1 && (folder[length - 1] == '\\' || folder[length - 1] == '/'))
        folder[--length] = '\0';
}

// mdn-doctor ships in <simulator folder>\Meridane\Tools: the folder two above its own, or
// its own when it was put beside fs9.exe.
bool OwnSimulatorFolder(char* folder) {
    char path[runtime::kPathSize] = {};
    const DWORD length = platform::GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return false;
    for (int up = 0; up < 3; ++up) {
        char* slash = std::strrchr(path, '\\');
        if (slash == nullptr)
            return false;
        *slash = '\0';
        if (host::IsSimulatorFolder(path)) {
            std::memcpy(folder, path, std::strlen(path) + 1);
            return true;
        }
    }
    return false;
}

bool CheckRegisteredFolder(Report& report, Installation* installation) {
    if (!host::ReadRegisteredFolder(installation->folder, KEY_READ)) {
        installation->folder[0] = '\0';
        report.Line(Verdict::Problem,
                    "simulator folder: the registry value \"%s\" under HKEY_LOCAL_MACHINE\\%s is "
                    "missing; the module will ask for the folder when the simulator starts",
                    host::kSimulatorRegistryValue, host::kSimulatorRegistryKey);
        return false;
    }
    TrimSeparators(installation->folder);
    if (!host::IsSimulatorFolder(installation->folder)) {
        report.Line(Verdict::Problem,
                    "simulator folder %s (registry value \"%s\") holds no fs9.exe; the module "
                    "will ask for the folder when the simulator starts",
                    installation->folder, host::kSimulatorRegistryValue);
        return false;
    }
    report.Line(Verdict::Ok, "simulator folder %s (registry value \"%s\")", installation->folder,
                host::kSimulatorRegistryValue);
    return true;
}

// Without a usable registry value, the folder mdn-doctor was installed in stands in for it.
bool CheckFolder(Report& report, Installation* installation) {
    if (CheckRegisteredFolder(report, installation))
        return true;
    if (!OwnSimulatorFolder(installation->folder)) {
        installation->folder[0] = '\0';
        return false;
    }
    report.Line(Verdict::Note,
                "the checks below are made in %s, the simulator folder mdn-doctor lies in; "
                "choose that folder when the module asks for it",
                installation->folder);
    return true;
}

// The module reads the version of PANELS.DLL, or of fs9.exe when that is not loaded.
void CheckSimulatorVersion(Report& report, const char* folder) {
    char file[runtime::kPathSize + 16];
    JoinPath(file, sizeof file, folder, "\\PANELS.DLL");
    if (!FileExists(file))
        JoinPath(file, sizeof file, folder, "\\fs9.exe");
    char version[runtime::kPathSize];
    if (!runtime::ReadFileVersionText(file, version)) {
        report.Line(Verdict::Problem,
                    "simulator version: %s carries no version text; the module will say it runs "
                    "on the wrong version and stay inactive",
                    file);
        return;
    }
    if (!host::IsAcceptedVersion(version)) {
        report.Line(Verdict::Problem,
                    "simulator version %s (%s): the module does not run on it (it needs "
                    "9.00.030612.02 or a 9.01 version) and will stay inactive",
                    version, file);
        return;
    }
    report.Line(Verdict::Ok, "simulator version %s (%s): the module runs on it", version, file);
}

void CheckModuleFile(Report& report, const char* folder) {
    char file[runtime::kPathSize + sizeof kModuleFile];
    JoinPath(file, sizeof file, folder, kModuleFile);
    if (!FileExists(file)) {
        report.Line(Verdict::Problem, "module %s is missing: the simulator will not load it", file);
        return;
    }
    char version[runtime::kPathSize];
    if (!runtime::ReadFileVersionText(file, version)) {
        report.Line(Verdict::Problem,
                    "module %s carries no version text: it is not a Meridane service module", file);
        return;
    }
    if (std::strcmp(version, MDN_DOCTOR_VERSION) != 0) {
        report.Line(Verdict::Ok, "module %s, version %s (this mdn-doctor came with %s)", file,
                    version, MDN_DOCTOR_VERSION);
        return;
    }
    report.Line(Verdict::Ok, "module %s, version %s", file, version);
}

}  // namespace

void CheckInstallation(Report& report, Installation* installation) {
    installation->folder_valid = CheckFolder(report, installation);
    if (!installation->folder_valid) {
        report.Line(Verdict::Note, "the checks inside the simulator folder are left out");
        return;
    }
    CheckSimulatorVersion(report, installation->folder);
    CheckModuleFile(report, installation->folder);
    host::SettingsFilePath(installation->folder, installation->settings_path);
    installation->settings_present = host::SettingsFileExists(installation->settings_path);
    if (installation->settings_present) {
        report.Line(Verdict::Ok, "settings file %s", installation->settings_path);
    } else {
        report.Line(Verdict::Problem,
                    "settings file %s is missing: none of the module's own commands gets a key",
                    installation->settings_path);
    }
}

}  // namespace doctor
