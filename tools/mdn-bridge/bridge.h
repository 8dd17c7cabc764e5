// The bridge's two ways of running, each until Ctrl+C or for a given number of seconds.
#pragma once
#include "bridge_settings.h"

namespace bridge {

// Set by Ctrl+C or the end of the run's time; the loops check it on every beat.
bool StopAsked();

// Publishes the air-data block of this PC's simulator and, when enabled, presses the keys of
// the commands that panels send. Exit status 0.
int RunPublish(const Settings& settings);
// Recreates a station's block on this PC from its messages. Exit status 0, or 3 when the
// block cannot be made.
int RunMirror(const Settings& settings);

}  // namespace bridge
