#include "runtime/message_boxes.h"

#include <cstdio>

#include "runtime/module_values.h"
#include "runtime/module_version.h"
#include "platform/user.h"

namespace runtime {

void ComposeBoxText(char* out, size_t size, const char* message) {
    ReadVersionText(nullptr, nullptr);
    // A short or unread version text leaves digits at NUL, which would end the box's text
    // there and lose the message: those show as '?'.
    char d[4];
    for (size_t i = 0; i < sizeof d; ++i)
        d[i] = VersionDigits()[i] != '\0' ? VersionDigits()[i] : '?';
    std::snprintf(out, size, "Meridane Service Module Ver. %c.%c.%c.%c\n\n%s\n", d[0], d[1], d[2],
                  d[3], message ? message : "");
}

void ShowInformationBox(const char* message) {
    char text[kPathSize];
    ComposeBoxText(text, sizeof text, message);
    platform::MessageBoxA(SimulatorWindow(), text, kInformationCaption, MB_TASKMODAL | MB_TOPMOST);
}

void ShowErrorBox(UINT flags, const char* message) {
    char text[kPathSize];
    ComposeBoxText(text, sizeof text, message);
    platform::MessageBoxA(SimulatorWindow(), text, kErrorCaption,
                          flags | MB_TASKMODAL | MB_TOPMOST);
}

}  // namespace runtime
