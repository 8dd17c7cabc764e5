// Air-data operations not yet built.
#include "airdata/airdata.h"
#include "host/workers.h"
#include "platform/kernel.h"

namespace airdata {

bool CreateBlock() { return false; }
void DestroyBlock() {}
MdnAirDataBlock* Block() { return nullptr; }

}  // namespace airdata

void MDNADC::Run() {
    for (;;) platform::Sleep(33);
}
