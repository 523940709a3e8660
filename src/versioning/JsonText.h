#pragma once
// The JSON of the text forms: a writer of strings that gives the same bytes for the same text, and
// a strict cursor that reads values one at a time, knows the line it is on, and refuses anything
// that is not JSON. The cursor has no recursion and keeps nothing but what it is asked to read, so
// no input, however deep, long or broken, makes it crash or hang; every refusal says where.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Appends the UTF-8 text as a quoted JSON string: '"' and '\' escaped, the line breaks and tab as
// \r, \n and \t, the other control characters (C0, DEL and C1) as \u00XX, everything else as it
// is. Ill-formed UTF-8 becomes U+FFFD.
void AppendJsonString(std::string& out, std::string_view utf8);

class JsonCursor {
public:
    // firstLine: the line number of the text's first line, for a text cut from a longer one.
    explicit JsonCursor(std::string_view text, int firstLine = 1);

    // The line of the next thing to read, white space skipped.
    int Line();
    // After white space, whether `c` is next; Take also takes it.
    bool Next(char c);
    bool Take(char c);
    // Whether only white space is left.
    bool AtEnd();

    enum class Outcome { Done, Failed, TooLong, NotWhole, OutOfRange };
    // A string, its escapes resolved, as UTF-8. TooLong (with the text cut) once it passes
    // maxBytes; the string is read to its end all the same, so the cursor stays in step.
    Outcome ReadString(std::string& utf8, std::size_t maxBytes);
    // A number. NotWhole for a fraction or an exponent, OutOfRange beyond 64 bits.
    Outcome ReadInteger(int64_t& value);

    // Records the first refusal, as "line N: message" for the line of the next thing to read.
    bool Fail(const std::string& message);
    bool FailAt(int line, const std::string& message);
    const std::string& Error() const { return Message; }
    // The code page texts read at this cursor are stored in (the layout's; 1252 unless set).
    int TextCodePage() const { return CodePage; }
    void SetTextCodePage(int codePage) { CodePage = codePage; }

private:
    void SkipBlanks();

    std::string_view Text;
    std::size_t Pos = 0;
    int CurrentLine;
    std::string Message;
    int CodePage = 1252;
};
