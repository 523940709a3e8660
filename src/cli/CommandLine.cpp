#include "cli/CommandLine.h"

#include <algorithm>

#include "cli/QuillCommands.h"

namespace {

const OptionSpec* FindOption(const CommandSpec& command, const std::string& name) {
    for (const OptionSpec& option : command.Options)
        if (name == option.Name) return &option;
    return nullptr;
}

bool LooksLikeOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

std::string OptionColumn(const OptionSpec& option) {
    std::string text = option.Name;
    if (option.Value != nullptr) text += std::string(" ") + option.Value;
    return text;
}

constexpr std::size_t HelpWidth = 80;

// The words of the text in lines of at most HelpWidth characters, the first starting at column
// `first`, the others indented to column `indent`.
std::string Wrapped(const std::string& text, std::size_t first, std::size_t indent) {
    std::string out;
    std::size_t column = first;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty()) continue;
        if (column > first && column + 1 + word.size() > HelpWidth) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (column > first) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
    }
    return out;
}

} // namespace

std::string ParsedArguments::Value(const std::string& name) const {
    const auto found = Options.find(name);
    return found == Options.end() ? std::string() : found->second;
}

std::vector<std::string> ParsedArguments::Values(const std::string& name) const {
    const auto found = Repeated.find(name);
    return found == Repeated.end() ? std::vector<std::string>() : found->second;
}

ParseResult ParseArguments(const CommandSpec& command, std::span<const std::string> arguments,
                           ParsedArguments& parsed, std::string& error) {
    parsed = {};
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !LooksLikeOption(argument)) {
            parsed.Operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "-h" || argument == "--help") return ParseResult::Help;

        std::string name = argument;
        std::string value;
        bool joined = false;
        if (const std::size_t equals = argument.find('=');
            argument.starts_with("--") && equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
            joined = true;
        }
        const OptionSpec* option = FindOption(command, name);
        if (option == nullptr) {
            error = "unknown option " + (name.size() > 80 ? QuotedValue(name) : name);
            return ParseResult::UsageError;
        }
        if (parsed.Has(name) && !option->Repeats) {
            error = "option " + name + " is given twice";
            return ParseResult::UsageError;
        }
        if (option->Value == nullptr) {
            if (joined) {
                error = "option " + name + " takes no value";
                return ParseResult::UsageError;
            }
        } else if (!joined) {
            if (i + 1 == arguments.size()) {
                error = "option " + name + " needs a value " + option->Value;
                return ParseResult::UsageError;
            }
            // An option where the value should be is a value forgotten, not a value: naming it
            // beats taking "--set" as the record list. A value that starts with "--" is given
            // joined ("--find=--x").
            const std::string& next = arguments[i + 1];
            const std::string nextName = next.substr(0, next.find('='));
            if (next == "--" || next == "-h" || next.starts_with("--") ||
                FindOption(command, nextName) != nullptr) {
                error = "option " + name + " needs a value " + option->Value + ", not the option " +
                        QuotedValue(next);
                return ParseResult::UsageError;
            }
            value = arguments[++i];
        }
        parsed.Options[name] = value;
        parsed.Repeated[name].push_back(value);
    }

    if (parsed.Operands.size() != command.Operands.size()) {
        std::string expected;
        for (const char* operand : command.Operands)
            expected += std::string(expected.empty() ? "" : " ") + operand;
        error = parsed.Operands.size() < command.Operands.size()
                    ? "expects " + expected
                    : "takes only " + expected + ", not also \"" +
                          parsed.Operands[command.Operands.size()] + "\"";
        return ParseResult::UsageError;
    }
    return ParseResult::Run;
}

std::string CommandHelp(const CommandSpec& command) {
    std::string text = "Usage: quill " + std::string(command.Synopsis) + "\n\n";
    text += command.Description;
    text += "\nOptions:\n";
    std::size_t width = std::string("-h, --help").size();
    for (const OptionSpec& option : command.Options)
        width = std::max(width, OptionColumn(option).size());
    const auto line = [&](const std::string& left, const char* help) {
        text += "  " + left + std::string(width - left.size() + 2, ' ') +
                Wrapped(help, width + 4, width + 4) + "\n";
    };
    for (const OptionSpec& option : command.Options)
        line(OptionColumn(option), option.Help);
    line("-h, --help", "show this help");
    return text;
}

std::string ProgramHelp(std::span<const CommandSpec> commands) {
    std::string text = "quill: inspect, check, edit, convert, rescale, draw, compare and merge\n"
                       "KorvoScreenQuill layouts (*.set, *.lset) without a window.\n\nUsage:\n";
    for (const CommandSpec& command : commands)
        text += "  quill " + std::string(command.Synopsis) + "\n";
    text += "  quill help [COMMAND]\n  quill --version\n\nCommands:\n";
    std::size_t width = 0;
    for (const CommandSpec& command : commands)
        width = std::max(width, std::string(command.Name).size());
    for (const CommandSpec& command : commands)
        text += "  " + std::string(command.Name) +
                std::string(width - std::string(command.Name).size() + 2, ' ') + command.Summary +
                "\n";
    text += "\n\"quill COMMAND --help\" describes a command and its options.\n\n"
            "Exit status: 0 when the command succeeded; 1 when check found an error or a\n"
            "warning, diff found differences or merge left conflicts; 2 for a usage error, a\n"
            "file that cannot be read or is damaged, a refused command or a failed write, with\n"
            "one line on standard error saying why. Outputs are replaced only by a complete new\n"
            "file, and a file replaced is kept as NAME.bak.\n";
    return text;
}
