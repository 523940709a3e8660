#include "scripts/ScriptLines.h"

#include <algorithm>

std::vector<ScriptLine> SplitScriptLines(std::string_view text) {
    std::vector<ScriptLine> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        const std::size_t endLength =
            text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
        lines.push_back({text.substr(start, i - start), text.substr(i, endLength)});
        i += endLength - 1;
        start = i + 1;
    }
    lines.push_back({text.substr(start), {}});
    return lines;
}

LineEnds LineEndsOf(std::string_view text) {
    LineEnds found = LineEnds::None;
    for (const ScriptLine& line : SplitScriptLines(text)) {
        if (line.End.empty()) continue;
        const LineEnds end = line.End == "\r\n" ? LineEnds::CrLf
                             : line.End == "\r" ? LineEnds::Cr
                                                : LineEnds::Lf;
        if (found == LineEnds::None)
            found = end;
        else if (found != end)
            return LineEnds::Mixed;
    }
    return found;
}

const char* LineEndsName(LineEnds ends) {
    switch (ends) {
    case LineEnds::CrLf:
        return "CR LF";
    case LineEnds::Cr:
        return "CR";
    case LineEnds::Lf:
        return "LF";
    case LineEnds::Mixed:
        return "mixed";
    case LineEnds::None:
        break;
    }
    return "none";
}

std::string_view CommonestLineEnd(std::string_view text) {
    int crlf = 0, cr = 0, lf = 0;
    for (const ScriptLine& line : SplitScriptLines(text)) {
        if (line.End == "\r\n")
            ++crlf;
        else if (line.End == "\r")
            ++cr;
        else if (line.End == "\n")
            ++lf;
    }
    if (cr > crlf && cr >= lf) return "\r";
    if (lf > crlf && lf > cr) return "\n";
    return "\r\n";
}

std::string WithNewlines(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (const ScriptLine& line : SplitScriptLines(text)) {
        plain += line.Text;
        if (!line.End.empty()) plain += '\n';
    }
    return plain;
}

std::string WithLineEndsOf(std::string_view original, std::string_view edited) {
    const std::vector<ScriptLine> old = SplitScriptLines(original);
    std::vector<std::string_view> now;
    for (std::size_t start = 0;;) {
        const std::size_t end = edited.find('\n', start);
        if (end == std::string_view::npos) {
            now.push_back(edited.substr(start));
            break;
        }
        now.push_back(edited.substr(start, end - start));
        start = end + 1;
    }
    // Lines kept at the start and at the end keep their own ends.
    std::size_t head = 0;
    while (head < old.size() && head < now.size() && old[head].Text == now[head])
        ++head;
    std::size_t tail = 0;
    while (tail < old.size() - head && tail < now.size() - head &&
           old[old.size() - 1 - tail].Text == now[now.size() - 1 - tail])
        ++tail;
    const std::string_view common = CommonestLineEnd(original);
    std::string text;
    text.reserve(edited.size() + now.size());
    for (std::size_t i = 0; i < now.size(); ++i) {
        text += now[i];
        if (i + 1 == now.size()) break; // the last line has no end
        std::string_view end;
        if (i < head) {
            end = old[i].End;
        } else if (i >= now.size() - tail) {
            end = old[old.size() - (now.size() - i)].End;
        } else if (i < old.size() - tail) {
            end = old[i].End; // the line it replaces
        }
        text += end.empty() ? common : end;
    }
    return text;
}
