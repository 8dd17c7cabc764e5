// Settings not yet built: the own commands stay unbound.
#include "host/settings.h"

namespace host {

void ReadSettings() {}
void MDN_STDCALL OwnCommandHandler() {}

}  // namespace host
