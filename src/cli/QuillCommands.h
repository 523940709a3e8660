#pragma once
// The commands of the command-line tool `quill`: plain functions over one layout document each,
// talking to the user only through the console dialogs, and the table that names them.

#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "layout/ControlRecord.h"
#include "tools/CodePageDetection.h"
#include "tools/ScreenResolution.h"

// The commands in the order the help lists them.
std::span<const CommandSpec> QuillCommands();

// What every command file shares: whether two paths name one file (by any spelling or link), the
// line of a usage error (returns the exit status), and the rule that an output that is the
// command's own input is replaced only with --in-place (false after the usage error).
bool SameFile(const std::string& input, const std::string& output);
int UsageError(std::ostream& err, const std::string& command, const std::string& message);
bool OutputAllowed(const ParsedArguments& arguments, const std::string& input,
                   const std::string& output, const char* command, std::ostream& err);
// An output of another format (a picture, a CSV file, a bundle) never replaces the layout it is
// made from, --in-place or not (false after the usage error).
bool OutputIsNotTheLayout(const std::string& layout, const std::string& output, const char* command,
                          const char* format, std::ostream& err);
// -o OUT, or the input itself with --in-place; "" after a usage error.
std::string OutputOf(const ParsedArguments& arguments, const std::string& input,
                     const char* command, std::ostream& err);
// The --pictures folder, made absolute; "" when the option is not given; nothing after a usage
// error (a folder that is not there would silently find nothing).
std::optional<std::string> PicturesOption(const ParsedArguments& arguments, const char* command,
                                          std::ostream& err);

// The one rule of every command that writes a layout: when nothing changes, nothing is written
// and one line says so ("Nothing changes: WHAT; nothing was written."); returns exit status 1.
int NothingChanges(Console& console, const std::string& what);
// Whether the file at `path` holds exactly `bytes` already (read no further than that).
bool HoldsAlready(const std::string& path, const std::string& bytes);
// A value the user gave, quoted for a message: at most 80 characters of it, then "...".
std::string QuotedValue(const std::string& utf8);

// The --codepage option of every command that reads or writes a layout's texts.
extern const OptionSpec CodePageOption;
// The code page the command reads and writes the layout's texts in: --codepage N when given (a
// usage error, and nothing, for a code page this program does not know), else found from the
// records. It is set on the console's dialogs, which quote texts in the document's messages.
std::optional<DetectedCodePage> UseCodePage(const ParsedArguments& arguments,
                                            std::span<const ControlRecord> records,
                                            const char* command, Console& console);

// "Cannot read layout file "PATH"", the start of every message about a layout that cannot be read.
std::string CannotRead(const std::string& path);
// The value of a WxH option, or nothing after a usage error.
std::optional<Resolution> ResolutionOption(const ParsedArguments& arguments, const char* option,
                                           const char* command, std::ostream& err);
// The path made absolute and normal, as the picture look-up makes the layout's folder.
std::filesystem::path FullPath(const std::string& utf8);

// Writes a file of the tool's own (not a layout) as Save writes one: the file it replaces is kept
// as NAME.bak first, and a failed write leaves both files as they were.
bool WriteOutput(const std::string& path, const std::string& bytes, std::string& failure);

// Runs the tool on its arguments (without the program's name); returns the exit status.
int RunQuill(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
