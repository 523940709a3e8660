#include "scripts/ScriptSyntax.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "scripts/ScriptLines.h"

namespace {

constexpr const char* Keywords[] = {
    "And",      "As",     "Boolean", "ByRef", "ByVal",  "Call",    "Case",   "Const", "Dim",
    "Do",       "Double", "Each",    "Else",  "ElseIf", "End",     "Exit",   "False", "For",
    "Function", "GoSub",  "GoTo",    "If",    "In",     "Integer", "Is",     "Loop",  "Mod",
    "Next",     "Not",    "Or",      "Rem",   "Return", "Select",  "Single", "Step",  "String",
    "Sub",      "Then",   "To",      "True",  "Until",  "Wend",    "While",  "Xor",   "Long"};

// The host's functions a script calls, as the colouring knows them.
constexpr const char* HostFunctions[] = {
    "Code",       "DoOEMButton", "GetDRO",   "GetOEMDRO", "GetParam",   "GetUserDRO",
    "GetUserLED", "GetVar",      "InputBox", "IsMoving",  "LoadFile",   "Message",
    "MsgBox",     "Question",    "RunFile",  "SetDRO",    "SetOEMDRO",  "SetParam",
    "SetUserDRO", "SetUserLED",  "SetVar",   "Sleep",     "WaitForMove"};

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

bool InTable(std::span<const char* const> table, std::string_view word) {
    return std::any_of(table.begin(), table.end(),
                       [word](const char* w) { return SameWord(w, word); });
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsWordChar(char c) {
    return IsLetter(c) || IsDigit(c) || c == '_';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimmedStart(std::string_view line) {
    while (!line.empty() && IsBlank(line.front()))
        line.remove_prefix(1);
    return line;
}

// A number from `at`: digits with one point, or &H and hex digits; its length, 0 for none.
std::size_t NumberLength(std::string_view line, std::size_t at) {
    std::size_t i = at;
    if (line.size() > i + 1 && line[i] == '&' && (line[i + 1] == 'H' || line[i + 1] == 'h')) {
        i += 2;
        while (i < line.size() && std::isxdigit(static_cast<unsigned char>(line[i])))
            ++i;
        return i > at + 2 ? i - at : 0;
    }
    bool point = false, digits = false;
    while (i < line.size() && (IsDigit(line[i]) || (line[i] == '.' && !point))) {
        point = point || line[i] == '.';
        digits = digits || IsDigit(line[i]);
        ++i;
    }
    return digits ? i - at : 0;
}

std::vector<ScriptToken> MacroTokens(std::string_view line) {
    std::vector<ScriptToken> tokens;
    for (std::size_t i = 0; i < line.size();) {
        const char c = line[i];
        if (c == '\'') {
            tokens.push_back({i, line.size() - i, ScriptTokenKind::Comment});
            break;
        }
        if (c == '"') {
            std::size_t end = i + 1;
            for (; end < line.size(); ++end) {
                if (line[end] != '"') continue;
                if (end + 1 < line.size() && line[end + 1] == '"') {
                    ++end;
                    continue;
                }
                break;
            }
            end = std::min(end + 1, line.size());
            tokens.push_back({i, end - i, ScriptTokenKind::String});
            i = end;
            continue;
        }
        if (IsLetter(c) || c == '_') {
            std::size_t end = i;
            while (end < line.size() && IsWordChar(line[end]))
                ++end;
            const std::string_view word = line.substr(i, end - i);
            if (SameWord(word, "Rem")) {
                tokens.push_back({i, line.size() - i, ScriptTokenKind::Comment});
                break;
            }
            if (InTable(Keywords, word))
                tokens.push_back({i, end - i, ScriptTokenKind::Keyword});
            else if (InTable(HostFunctions, word))
                tokens.push_back({i, end - i, ScriptTokenKind::HostFunction});
            i = end;
            continue;
        }
        if (IsDigit(c) || c == '&' || (c == '.' && i + 1 < line.size() && IsDigit(line[i + 1]))) {
            if (const std::size_t length = NumberLength(line, i); length > 0) {
                tokens.push_back({i, length, ScriptTokenKind::Number});
                i += length;
                continue;
            }
        }
        ++i;
    }
    return tokens;
}

std::vector<ScriptToken> GCodeTokens(std::string_view line) {
    std::vector<ScriptToken> tokens;
    for (std::size_t i = 0; i < line.size();) {
        const char c = line[i];
        if (c == ';' || c == '\'') {
            tokens.push_back({i, line.size() - i, ScriptTokenKind::Comment});
            break;
        }
        if (c == '(') {
            const std::size_t close = line.find(')', i);
            const std::size_t end = close == std::string_view::npos ? line.size() : close + 1;
            tokens.push_back({i, end - i, ScriptTokenKind::Comment});
            i = end;
            continue;
        }
        if (IsLetter(c)) {
            std::size_t at = i + 1;
            while (at < line.size() && IsBlank(line[at]))
                ++at;
            if (at < line.size() && (line[at] == '-' || line[at] == '+')) ++at;
            const std::size_t length = at < line.size() ? NumberLength(line, at) : 0;
            if (length > 0) {
                const bool word = Lower(c) == 'g' || Lower(c) == 'm';
                if (word) {
                    tokens.push_back({i, at + length - i, ScriptTokenKind::Keyword});
                } else {
                    tokens.push_back({i, 1, ScriptTokenKind::HostFunction});
                    const std::size_t sign =
                        line[at - 1] == '-' || line[at - 1] == '+' ? at - 1 : at;
                    tokens.push_back({sign, at + length - sign, ScriptTokenKind::Number});
                }
                i = at + length;
                continue;
            }
        }
        ++i;
    }
    return tokens;
}

bool StartsGCode(std::string_view line) {
    if (line.front() == '%') return true;
    if (!IsLetter(line.front())) return false;
    std::size_t at = 1;
    if (at < line.size() && (line[at] == '-' || line[at] == '+')) ++at;
    return at < line.size() && (IsDigit(line[at]) || line[at] == '.');
}

} // namespace

std::span<const char* const> MacroKeywords() {
    return Keywords;
}
std::span<const char* const> HostFunctionNames() {
    return HostFunctions;
}
bool IsMacroKeyword(std::string_view word) {
    return InTable(Keywords, word);
}
bool IsHostFunction(std::string_view word) {
    return InTable(HostFunctions, word);
}

ScriptLanguage ScriptLanguageOf(std::string_view script) {
    for (const ScriptLine& line : SplitScriptLines(script)) {
        const std::string_view text = TrimmedStart(line.Text);
        if (text.empty() || text.front() == '\'' || text.front() == '(' || text.front() == ';' ||
            text.front() == '#')
            continue;
        if (text.size() >= 3 && SameWord(text.substr(0, 3), "Rem") &&
            (text.size() == 3 || !IsWordChar(text[3])))
            continue;
        return StartsGCode(text) ? ScriptLanguage::GCode : ScriptLanguage::Macro;
    }
    return ScriptLanguage::Macro;
}

std::string ExpandedPath(std::string_view line) {
    std::string_view text = TrimmedStart(line);
    if (text.size() < 7 || !SameWord(text.substr(0, 7), "#expand")) return {};
    text = TrimmedStart(text.substr(7));
    if (text.empty() || text.front() != '<') return {};
    const std::size_t close = text.find('>');
    if (close == std::string_view::npos || close == 1) return {};
    return std::string(text.substr(1, close - 1));
}

std::vector<ScriptToken> ScriptLineTokens(std::string_view line, ScriptLanguage language) {
    if (!ExpandedPath(line).empty()) return {{0, line.size(), ScriptTokenKind::Expand}};
    return language == ScriptLanguage::GCode ? GCodeTokens(line) : MacroTokens(line);
}
