#pragma once
// The commands of `quill` for keeping layouts under version control: the text form (to-text,
// from-text), diff and the three-way merge, each made for git as well (a textconv filter, a
// difftool, a merge driver).

#include <vector>

#include "cli/CommandLine.h"

std::vector<CommandSpec> VersionCommands();
