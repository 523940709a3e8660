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

// What every command file shares: whether two paths name one file (by any spelling or link), the
// line of a usage error (returns the exit status), and the rule that an output that is the
// command's own input is replaced only with --in-place (false after the usage error).
bool SameFile(const std::string& input, const std::string& output);
int UsageError(std::ostream& err, const std::string& command, const std::string& message);
bool OutputAllowed(const ParsedArguments& arguments, const std::string& input,
                   const std::string& output, const char* command, std::ostream& err);

// Runs the tool on its arguments (without the program's name); returns the exit status.
// Writes a file of the tool's own (not a layout) as Save writes one: the file it replaces is kept
// as NAME.bak first, and a failed write leaves both files as they were.
bool WriteOutput(const std::string& path, const std::string& bytes, std::string& failure);

int RunQuill(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
