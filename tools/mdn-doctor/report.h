// The doctor's report: one line per finding, each opened by its verdict, and the count of
// problems that decides the exit code.
#pragma once
#include <cstddef>
#include <cstdio>

#include "host/settings_file.h"
#include "runtime/module_values.h"

namespace doctor {

enum class Verdict { Ok, Note, Problem };

class Report {
  public:
    explicit Report(std::FILE* out) : out_(out) {}
    void Line(Verdict verdict, const char* format, ...) __attribute__((format(printf, 3, 4)));
    int problems() const { return problems_; }

  private:
    std::FILE* out_;
    int problems_ = 0;
};

// What the checks found out about the installation, for the checks that follow.
struct Installation {
    char folder[runtime::kPathSize] = {};  // empty when the registry names no simulator folder
    bool folder_valid = false;
    char settings_path[host::kSettingsPathSize] = {};
    bool settings_present = false;
};

// What the processor says it supports: the feature word of cpuid leaf 1 (edx), when it
// answers that leaf at all.
struct ProcessorFeatures {
    bool known = false;
    unsigned edx = 0;
};
ProcessorFeatures ReadProcessorFeatures();

// Every check below, in the order the report shows them.
void CheckEverything(Report& report, const ProcessorFeatures& processor);

// Whether the processor runs the module's code (a Pentium Pro or later).
void CheckProcessor(Report& report, const ProcessorFeatures& processor);
// Simulator folder, simulator version, Modules\MdnSrv.dll, settings file.
void CheckInstallation(Report& report, Installation* installation);
// Each own command's key as the module reads it, a key bound twice, names the module ignores.
void CheckBindings(Report& report, const Installation& installation);
// The log's setting and file, and, while the simulator runs, the air-data block.
void CheckDiagnostics(Report& report, const Installation& installation);

// The network bridge's settings file beside the doctor, when there is one.
void CheckBridgeSettings(Report& report);

// `a` followed by `b` into `out` (`size` bytes), cut to fit.
void JoinPath(char* out, size_t size, const char* a, const char* b);
bool FileExists(const char* path);

}  // namespace doctor
