// System error codes: on the shipped build, <windows.h> has them all (win_types.h).
#pragma once
#include "platform/win_types.h"
