#pragma once
// The shape of a command of the tool and the reading of its arguments: each command is one entry
// of a table naming its operands, its options and the function that runs it, and the help texts
// are made from the same entries.

#include <map>
#include <ostream>
#include <span>
#include <string>
#include <vector>

class ConsoleDialogs;

enum ExitStatus : int {
    ExitSuccess = 0,
    ExitFindings = 1, // a check found errors or warnings
    ExitFailure = 2,  // a usage error, an unreadable or damaged file, a refusal, a failed write
};

struct OptionSpec {
    const char* Name;  // "--to", "-o"
    const char* Value; // what the value stands for ("WxH"); nullptr for a flag
    const char* Help;
    bool Repeats = false; // may be given several times (--set A=1 --set B=2)
};

struct ParsedArguments {
    std::vector<std::string> Operands;
    std::map<std::string, std::string> Options; // by name; a flag holds ""
    // Every value of an option that repeats, in the order given.
    std::map<std::string, std::vector<std::string>> Repeated;

    bool Has(const std::string& name) const { return Options.count(name) != 0; }

    // The option's value, "" when it was not given (the last one of a repeated option).
    std::string Value(const std::string& name) const;
    // Every value of the option, in the order given.
    std::vector<std::string> Values(const std::string& name) const;
};

// Where a command writes: results to Out, notes and the reason of a failure to Err, and the
// document's boxes through Dialogs.
struct Console {
    std::ostream& Out;
    std::ostream& Err;
    ConsoleDialogs& Dialogs;
};

struct CommandSpec {
    const char* Name;
    const char* Synopsis;    // the usage line after "quill "
    const char* Summary;     // one line for the list of commands
    const char* Description; // paragraphs of the command's help, each line ending in '\n'
    std::vector<const char*> Operands;
    std::vector<OptionSpec> Options;
    int (*Run)(const ParsedArguments& arguments, Console& console);
};

enum class ParseResult { Run, Help, UsageError };

// Options may stand before, between or after the operands, a value after the option or joined to
// it by '='; "--" ends the options. "-h" and "--help" ask for the command's help.
ParseResult ParseArguments(const CommandSpec& command, std::span<const std::string> arguments,
                           ParsedArguments& parsed, std::string& error);

std::string CommandHelp(const CommandSpec& command);
std::string ProgramHelp(std::span<const CommandSpec> commands);
