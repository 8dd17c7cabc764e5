// The recording fake platform: what a unit test uses to script the world the module sees and
// to read back what the module did. One control header stands beside each contract header
// (platform/user.h -> platform/fake_user.h ...); fake_calls.h holds the call log and the
// failure switch they share. This header gathers them all.
#pragma once
#include "platform/fake_calls.h"
#include "platform/fake_clock.h"
#include "platform/fake_crt.h"
#include "platform/fake_files.h"
#include "platform/fake_kernel.h"
#include "platform/fake_registry.h"
#include "platform/fake_shell.h"
#include "platform/fake_user.h"
#include "platform/fake_version.h"
