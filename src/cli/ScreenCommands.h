#pragma once
// The commands of `quill` that make screens: `add-screen` takes an empty screen, names it and
// links every row of screen links to it; `duplicate-screen` copies a screen onto an empty one.
// Both make the change the Screen menu makes, through the same plain edits.

#include <vector>

#include "cli/CommandLine.h"

std::vector<CommandSpec> ScreenCommands();
