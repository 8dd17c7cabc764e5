// mdn-doctor: checks an installation of the Meridane service module without starting the
// simulator, and prints one line per finding with its verdict (ok, note or PROBLEM).
//
// Exit status: 0 when nothing is wrong, 1 when something is, 2 for a wrong command line.
#include <cstdio>
#include <cstring>

#include "report.h"

namespace {

void Usage(std::FILE* out) {
    std::fprintf(out,
                 "usage: mdn-doctor [--help]\n"
                 "Checks the installation of the Meridane service module (MdnSrv.dll) without\n"
                 "starting the simulator: the processor, the simulator folder named in the\n"
                 "registry, the simulator's version, Modules\\MdnSrv.dll, the settings file and\n"
                 "each key bound in it, the diagnostic log's setting and file, and, while the\n"
                 "simulator runs, the air-data block, and the network bridge's mdn-bridge.ini\n"
                 "beside it. Each line starts with ok, note or PROBLEM.\n"
                 "Exit status: 0 when nothing is wrong, 1 when something is, 2 for a wrong\n"
                 "command line.\n");
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0 ||
            std::strcmp(argv[i], "/?") == 0) {
            Usage(stdout);
            return 0;
        }
        std::fprintf(stderr, "mdn-doctor: unknown argument \"%s\"\n", argv[i]);
        Usage(stderr);
        return 2;
    }
    std::printf("mdn-doctor %s: checking the Meridane service module's installation\n\n",
                MDN_DOCTOR_VERSION);
    doctor::Report report(stdout);
    doctor::CheckEverything(report, doctor::ReadProcessorFeatures());
    if (report.problems() == 0) {
        std::printf("\nNothing is wrong.\n");
        return 0;
    }
    std::printf("\n%d problem%s found: see the lines that start with PROBLEM.\n", report.problems(),
                report.problems() == 1 ? "" : "s");
    return 1;
}
