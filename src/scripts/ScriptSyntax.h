#pragma once
// What the parts of a button script are, for colouring and for finding what a script includes:
// the host's Basic-like macro language (keywords, strings, comments after ' or REM, numbers, the
// host's functions) and G-code (G and M words, addresses, numbers, comments in brackets or after
// ';'), and the `#expand <path>` lines that include a script file from the host's folder. Lines
// are read one at a time, as an editor colours them; nothing here changes a byte of a script.
//
// Which language a script is in: the host runs a control's script as G-code for some functions and
// as a macro for the rest, but which functions those are varies by host version, so the script
// tells: its first line that is neither blank nor a comment is G-code when it starts with a G-code
// word (a letter and a number, "G0", "M3", "N10", "X1.5") or '%', else a macro.

#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class ScriptLanguage { Macro, GCode };

enum class ScriptTokenKind {
    Keyword,      // If, Then, End, Dim, ...; in G-code a G or M word
    HostFunction, // a function of the host, from HostFunctionNames(); in G-code an address letter
    String,
    Comment,
    Number,
    Expand, // a whole `#expand <path>` line
};

struct ScriptToken {
    std::size_t Start = 0;
    std::size_t Length = 0;
    ScriptTokenKind Kind = ScriptTokenKind::Keyword;
    bool operator==(const ScriptToken&) const = default;
};

// The words of the macro language, in one table each, compared without regard to letter case.
std::span<const char* const> MacroKeywords();
std::span<const char* const> HostFunctionNames();
bool IsMacroKeyword(std::string_view word);
bool IsHostFunction(std::string_view word);

ScriptLanguage ScriptLanguageOf(std::string_view script);

// The coloured parts of one line (without its end), in order; what lies between them is plain.
std::vector<ScriptToken> ScriptLineTokens(std::string_view line, ScriptLanguage language);

// The path of an `#expand <path>` line ("#expand" in any letter case, blanks before it and
// between allowed); empty for any other line.
std::string ExpandedPath(std::string_view line);
