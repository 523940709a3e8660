#pragma once
// The commands of the command-line tool `quill`: plain functions over one layout document each,
// talking to the user only through the console dialogs, and the table that names them.

#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

// The commands in the order the help lists them.
std::span<const CommandSpec> QuillCommands();

// Runs the tool on its arguments (without the program's name); returns the exit status.
int RunQuill(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
