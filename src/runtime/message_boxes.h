// The module's information and error boxes, owned by the simulator window.
#pragma once
#include <cstddef>

#include "platform/win_types.h"

namespace runtime {

constexpr char kErrorCaption[] = "Meridane: Error";
constexpr char kInformationCaption[] = "Meridane: Information";

// "Meridane Service Module Ver. d.d.d.d\n\n<message>\n", with the version digits read afresh
// ('?' for a digit the version text lacks); cut to size - 1 characters.
void ComposeBoxText(char* out, size_t size, const char* message);

void ShowInformationBox(const char* message);
void ShowErrorBox(UINT flags, const char* message);

}  // namespace runtime
