// The settings file and the module's own five commands.
#pragma once
#include "mdnsrv.h"

namespace host {

// Binds the own commands from the settings file (start-up).
void ReadSettings();
// Opens the diagnostic log when the settings file's "diagnostics" section sets MDN_LOG to a
// level (attach, once the simulator folder is known).
void StartLogFromSettings();
// The own key client's callback: carries out every pending own command, oldest first.
void MDN_STDCALL OwnCommandHandler();

}  // namespace host
