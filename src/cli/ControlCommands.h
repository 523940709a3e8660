#pragma once
// The commands of `quill` for single controls: `controls` lists them as a table or as JSON lines,
// `edit` sets fields on the controls chosen by record or by screen and kind, with the property
// sheet's rules and refusals.

#include <vector>

#include "cli/CommandLine.h"

std::vector<CommandSpec> ControlCommands();
