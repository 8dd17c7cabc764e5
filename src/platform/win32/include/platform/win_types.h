// The Windows types and constants the module uses: on the shipped build, Windows' own. The
// shell's come with win_shell.h; the other family headers (win_user.h ...) only stand for
// the fake's, which split them so that adding one rebuilds only the files using it.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
