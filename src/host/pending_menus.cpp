// Menus and links not yet built: nothing is added to the simulator's menu bar.
#include "host/window_integration.h"

namespace host {

void BuildTopMenu() {}
void BuildNavDeviceMenu() {}
void OnMenuCommand(uint16_t) {}
void OpenLink(const char*) {}

}  // namespace host
