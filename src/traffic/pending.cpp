// Traffic operations not yet built: each gives its failure result.
#include "traffic/traffic.h"

namespace traffic {

void Load() {}
void Unload() {}
uint32_t MDN_STDCALL GetTrafficList(MdnTrafficRecord*) { return 0; }
void DumpTrafficCommand() {}

}  // namespace traffic
