#pragma once
// `quill scripts`: a layout's button scripts written to a folder of text files, one a script,
// and read back, so they can be edited in any editor and reviewed in version control.

#include <vector>

#include "cli/CommandLine.h"

std::vector<CommandSpec> ScriptCommands();
