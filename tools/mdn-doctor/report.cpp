// Report lines and the small path helpers the checks share.
#include "platform/win_files.h"
#include "report.h"

#include <cstdarg>

#include "platform/kernel.h"

namespace doctor {

void Report::Line(Verdict verdict, const char* format, ...) {
    static const char* const kWords[] = {"ok      ", "note    ", "PROBLEM "};
    if (verdict == Verdict::Problem)
        ++problems_;
    std::fputs(kWords[static_cast<int>(verdict)], out_);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(out_, format, arguments);
    va_end(arguments);
    std::fputc('\n', out_);
}

void JoinPath(char* out, size_t size, const char* a, const char* b) {
    std::snprintf(out, size, "%s%s", a, b);
}

bool FileExists(const char* path) {
    const DWORD attributes = platform::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void CheckEverything(Report& report, const ProcessorFeatures& processor) {
    CheckProcessor(report, processor);
    Installation installation;
    CheckInstallation(report, &installation);
    CheckBindings(report, installation);
    CheckDiagnostics(report, installation);
    CheckBridgeSettings(report);
}

}  // namespace doctor
