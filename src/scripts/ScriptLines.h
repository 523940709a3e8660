#pragma once
// A script's lines with their own line ends, as the record holds them: CR LF in most layouts, a
// lone CR in some, both (and LF) mixed in a few. Splitting and joining give back every byte, and
// text edited with plain '\n' line breaks gets its ends back: the lines left as they were at the
// start and at the end keep the ends they had, the lines in between take the ends of the lines
// they replace, and lines added take the script's commonest end.

#include <string>
#include <string_view>
#include <vector>

struct ScriptLine {
    std::string_view Text; // without its end
    std::string_view End;  // "\r\n", "\r", "\n", or "" for the last line
};

// Every line of the text; the text after the last line end is one more line (maybe empty), so
// joining Text + End of every line gives the text back.
std::vector<ScriptLine> SplitScriptLines(std::string_view text);

enum class LineEnds { None, CrLf, Cr, Lf, Mixed };
LineEnds LineEndsOf(std::string_view text);
// "CR LF", "CR", "LF", "mixed", "none", as the windows show it.
const char* LineEndsName(LineEnds ends);
// The commonest line end of the text; CR LF for a text without any (as real layouts write).
std::string_view CommonestLineEnd(std::string_view text);

// The text as the windows edit it: every line end a '\n'.
std::string WithNewlines(std::string_view text);
// The edited text (its lines ended by '\n') with the original's line ends put back as said above;
// WithLineEndsOf(original, WithNewlines(original)) == original for every text.
std::string WithLineEndsOf(std::string_view original, std::string_view edited);
