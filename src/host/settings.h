// The settings file and the module's own five commands.
#pragma once
#include "mdnsrv.h"

namespace host {

// Binds the own commands from the settings file (start-up).
void ReadSettings();
// The own key client's callback: carries out every pending own command, oldest first.
void MDN_STDCALL OwnCommandHandler();

}  // namespace host
