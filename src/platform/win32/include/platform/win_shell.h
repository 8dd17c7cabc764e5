// SHELL32 and COM constants and records: on the shipped build, Windows' own.
#pragma once
#include "platform/win_types.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
