// The processor: the module is built for the Pentium Pro and later (P6: conditional moves and
// the x87 compare-into-flags instructions appear throughout its code), so on an older
// processor the simulator would end with an illegal instruction as the module loads. This file
// is built for the Pentium, so that the line can still be printed there.
#include <cpuid.h>

#include "report.h"

namespace doctor {

ProcessorFeatures ReadProcessorFeatures() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    ProcessorFeatures features;
    features.known = __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0;
    features.edx = features.known ? edx : 0;
    return features;
}

void CheckProcessor(Report& report, const ProcessorFeatures& processor) {
    const bool known = processor.known;
    const unsigned edx = processor.edx;
    // Bit 15 of the feature word: CMOV, and with the x87 unit (bit 0) FCOMI and FCMOV.
    const bool p6 = known && (edx & (1u << 15)) != 0 && (edx & 1u) != 0;
    if (p6) {
        report.Line(Verdict::Ok, "processor: has the conditional moves the module needs%s",
                    (edx & (1u << 26)) != 0 ? ", and SSE2 for the faster bitmap loops" : "");
    } else {
        report.Line(Verdict::Problem,
                    "processor: %s; the module needs a Pentium Pro, Pentium II or later (the "
                    "simulator would end as it loads the module)",
                    known ? "has no conditional moves (CMOV)" : "does not say what it supports");
    }
}

}  // namespace doctor
