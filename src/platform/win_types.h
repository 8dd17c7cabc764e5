// Windows types and constants: Windows' own on the shipped build, a faithful subset on the
// host build. The build puts the right folder on the include path.
#pragma once
#include <platform/win_types.h>
