#pragma once
// The document's message boxes for a program without a window. Reports (OK-only boxes) become
// lines on the error stream; each question is answered as the running command has said, and a
// question it has no answer for is refused (answered Cancel or No) and fails the command. A warning
// (exclamation or error icon) fails the command too. Either way exactly one line
// "quill: <message>" says why, in the document's own words. Input boxes are always refused.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "layout/UserDialogs.h"

// A layout's bytes (in its code page) as one line of UTF-8 for the console: line breaks and other
// control characters become blanks, so a text from a file can neither break the line nor drive
// the terminal.
std::string ConsoleText(const std::string& bytes, int codePage = 1252);

class ConsoleDialogs : public UserDialogs {
public:
    explicit ConsoleDialogs(std::ostream& err) : Err(err) {}

    // The answer to the question of this title and buttons (Windows-1252, as the document asks
    // it); a quiet answer is given without a word, otherwise the question is noted.
    void Answer(const std::string& title, MsgButtons buttons, MsgAnswer answer, bool quiet);

    MsgAnswer MsgBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                     const std::string& title = {}) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& proposed) override;

    // A warning the running command expects and that does not fail it (a completed export's note
    // of what the file cannot carry): written as "quill: warning: <message>".
    void ExpectWarning(const std::string& prompt) { ExpectedWarnings.push_back(prompt); }

    // A line of the tool's own on the error stream, after any report held back.
    void Note(const std::string& bytes);

    // The code page of the layout the command works on: the document's messages quote its texts.
    int CodePage() const { return TextCodePage; }
    void SetCodePage(int codePage) { TextCodePage = codePage; }

    // A warning was shown or a question refused: the command must write nothing more.
    bool Failed() const { return FailureWritten; }

    // Ends a command whose call on the document failed, and returns its exit status (2). When
    // nothing has said why yet, the fallback does (Windows-1252, naming the file), followed by the
    // last report when there is one (a CSV reader's syntax message, say).
    int Fail(const std::string& fallback);
    // Ends a command: writes a report still held back.
    void Finish();

private:
    struct Answered {
        std::string Title;
        MsgButtons Buttons;
        MsgAnswer Answer;
        bool Quiet;
    };

    void WriteNote(const std::string& bytes);
    void WriteFailure(const std::string& bytes);
    void FlushHeld();

    std::ostream& Err;
    std::vector<Answered> Answers;
    std::vector<std::string> ExpectedWarnings;
    // The latest report is held until the next box or the end of the command, since it may turn
    // out to be the reason the command failed.
    std::optional<std::string> Held;
    bool FailureWritten = false;
    int TextCodePage = 1252;
};
