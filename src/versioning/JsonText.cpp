#include "versioning/JsonText.h"

#include "platform/Windows1252.h"

namespace {

constexpr char Hex[] = "0123456789abcdef";

// The length of the well-formed UTF-8 sequence at text[i] and its code point, or 0 when it is
// ill-formed; the one decoder of the program decides.
std::size_t SequenceLength(std::string_view text, std::size_t i, uint32_t& code) {
    char32_t point = 0;
    const std::size_t length = Utf8SequenceAt(text, i, point);
    code = static_cast<uint32_t>(point);
    return length;
}

void PutUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

void AppendJsonString(std::string& out, std::string_view utf8) {
    out.push_back('"');
    for (std::size_t i = 0; i < utf8.size();) {
        const char c = utf8[i];
        // Plain ASCII is most of every layout: copied without decoding.
        if (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F) {
            if (c == '"' || c == '\\') out.push_back('\\');
            out.push_back(c);
            ++i;
            continue;
        }
        uint32_t code = 0;
        const std::size_t length = SequenceLength(utf8, i, code);
        if (length == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        if (code == '\r') {
            out += "\\r";
        } else if (code == '\n') {
            out += "\\n";
        } else if (code == '\t') {
            out += "\\t";
        } else if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) {
            out += "\\u00";
            out.push_back(Hex[(code >> 4) & 0xF]);
            out.push_back(Hex[code & 0xF]);
        } else {
            out.append(utf8.substr(i, length));
        }
        i += length;
    }
    out.push_back('"');
}

JsonCursor::JsonCursor(std::string_view text, int firstLine) : Text(text), CurrentLine(firstLine) {
    // A byte-order mark, which editors on Windows like to put first, is no part of the text.
    if (Text.substr(0, 3) == "\xEF\xBB\xBF") Pos = 3;
}

void JsonCursor::SkipBlanks() {
    while (Pos < Text.size()) {
        const char c = Text[Pos];
        if (c == '\n')
            ++CurrentLine;
        else if (c != ' ' && c != '\t' && c != '\r')
            return;
        ++Pos;
    }
}

int JsonCursor::Line() {
    SkipBlanks();
    return CurrentLine;
}

bool JsonCursor::Next(char c) {
    SkipBlanks();
    return Pos < Text.size() && Text[Pos] == c;
}

bool JsonCursor::Take(char c) {
    if (!Next(c)) return false;
    ++Pos;
    return true;
}

bool JsonCursor::AtEnd() {
    SkipBlanks();
    return Pos == Text.size();
}

bool JsonCursor::Fail(const std::string& message) {
    return FailAt(Line(), message);
}

bool JsonCursor::FailAt(int line, const std::string& message) {
    if (Message.empty()) Message = "line " + std::to_string(line) + ": " + message;
    return false;
}

JsonCursor::Outcome JsonCursor::ReadString(std::string& utf8, std::size_t maxBytes) {
    utf8.clear();
    if (!Take('"')) {
        Fail("a text in double quotes should stand here");
        return Outcome::Failed;
    }
    bool tooLong = false;
    const auto put = [&](std::string_view part) {
        if (tooLong) return;
        if (utf8.size() + part.size() > maxBytes)
            tooLong = true;
        else
            utf8.append(part);
    };
    while (true) {
        // The quick way through a run of plain characters.
        const std::size_t start = Pos;
        while (Pos < Text.size()) {
            const auto b = static_cast<unsigned char>(Text[Pos]);
            if (b == '"' || b == '\\' || b < 0x20 || b >= 0x80) break;
            ++Pos;
        }
        put(Text.substr(start, Pos - start));
        if (Pos >= Text.size()) {
            FailAt(CurrentLine, "a text is not closed by a double quote");
            return Outcome::Failed;
        }
        const char c = Text[Pos];
        if (c == '"') {
            ++Pos;
            return tooLong ? Outcome::TooLong : Outcome::Done;
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            FailAt(CurrentLine,
                   c == '\n' || c == '\r'
                       ? "a text runs past the end of its line; a line break in a text is "
                         "written \\r or \\n"
                       : "a text holds a control character; write it as \\u00" +
                             std::string{Hex[(c >> 4) & 0xF], Hex[c & 0xF]});
            return Outcome::Failed;
        }
        if (c != '\\') {
            uint32_t code = 0;
            const std::size_t length = SequenceLength(Text, Pos, code);
            if (length == 0) {
                FailAt(CurrentLine, "a text holds bytes that are not UTF-8");
                return Outcome::Failed;
            }
            put(Text.substr(Pos, length));
            Pos += length;
            continue;
        }
        // An escape.
        if (Pos + 1 >= Text.size()) {
            FailAt(CurrentLine, "a text is not closed by a double quote");
            return Outcome::Failed;
        }
        const char e = Text[Pos + 1];
        Pos += 2;
        const std::string_view simple = "\"\\/bfnrt";
        const std::string_view meant = "\"\\/\b\f\n\r\t";
        if (const std::size_t k = simple.find(e); k != std::string_view::npos) {
            put(meant.substr(k, 1));
            continue;
        }
        const auto hex4 = [this](uint32_t& code) {
            if (Text.size() - Pos < 4) return false;
            code = 0;
            for (int i = 0; i < 4; ++i) {
                const char h = Text[Pos++];
                code <<= 4;
                if (IsDigit(h))
                    code |= static_cast<uint32_t>(h - '0');
                else if (h >= 'a' && h <= 'f')
                    code |= static_cast<uint32_t>(h - 'a' + 10);
                else if (h >= 'A' && h <= 'F')
                    code |= static_cast<uint32_t>(h - 'A' + 10);
                else
                    return false;
            }
            return true;
        };
        uint32_t code = 0;
        if (e != 'u' || !hex4(code)) {
            FailAt(CurrentLine, "a text holds an escape that JSON does not know");
            return Outcome::Failed;
        }
        if (code >= 0xD800 && code <= 0xDBFF) {
            // The first half of a character beyond U+FFFF: the second must follow at once.
            uint32_t low = 0;
            if (Text.substr(Pos, 2) != "\\u" || (Pos += 2, !hex4(low)) || low < 0xDC00 ||
                low > 0xDFFF) {
                FailAt(CurrentLine, "a text holds half of a UTF-16 surrogate pair");
                return Outcome::Failed;
            }
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            FailAt(CurrentLine, "a text holds half of a UTF-16 surrogate pair");
            return Outcome::Failed;
        }
        std::string encoded;
        PutUtf8(encoded, code);
        put(encoded);
    }
}

JsonCursor::Outcome JsonCursor::ReadInteger(int64_t& value) {
    SkipBlanks();
    const std::size_t start = Pos;
    const bool negative = Pos < Text.size() && Text[Pos] == '-';
    if (negative) ++Pos;
    if (Pos >= Text.size() || !IsDigit(Text[Pos])) {
        Pos = start;
        FailAt(CurrentLine, "a number should stand here");
        return Outcome::Failed;
    }
    if (Text[Pos] == '0' && Pos + 1 < Text.size() && IsDigit(Text[Pos + 1])) {
        FailAt(CurrentLine, "a number does not start with 0 in JSON");
        return Outcome::Failed;
    }
    // Beyond 18 digits a number is out of every range the layouts use; it is still read to its
    // end, so the message can come from the caller.
    uint64_t magnitude = 0;
    int digits = 0;
    for (; Pos < Text.size() && IsDigit(Text[Pos]); ++Pos, ++digits)
        if (digits < 19) magnitude = magnitude * 10 + static_cast<uint64_t>(Text[Pos] - '0');
    bool whole = true;
    if (Pos < Text.size() && Text[Pos] == '.') {
        whole = false;
        ++Pos;
        if (Pos >= Text.size() || !IsDigit(Text[Pos])) {
            FailAt(CurrentLine, "a number has no digits after its decimal point");
            return Outcome::Failed;
        }
        while (Pos < Text.size() && IsDigit(Text[Pos]))
            ++Pos;
    }
    if (Pos < Text.size() && (Text[Pos] == 'e' || Text[Pos] == 'E')) {
        whole = false;
        ++Pos;
        if (Pos < Text.size() && (Text[Pos] == '+' || Text[Pos] == '-')) ++Pos;
        if (Pos >= Text.size() || !IsDigit(Text[Pos])) {
            FailAt(CurrentLine, "a number has no digits in its exponent");
            return Outcome::Failed;
        }
        while (Pos < Text.size() && IsDigit(Text[Pos]))
            ++Pos;
    }
    if (!whole) return Outcome::NotWhole;
    if (digits > 18) return Outcome::OutOfRange;
    value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return Outcome::Done;
}
