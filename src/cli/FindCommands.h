#pragma once
// The commands of `quill` for finding and replacing across a layout and for its pictures: find,
// replace, pictures, relink and bundle, each the same rule as the window's find pane, pictures
// pane and bundle export.

#include <vector>

#include "cli/CommandLine.h"

std::vector<CommandSpec> FindCommands();
