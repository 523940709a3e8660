#include "cli/ConsoleDialogs.h"

#include "platform/CodePages.h"

#include <algorithm>

namespace {

bool IsQuestion(MsgButtons buttons) {
    return buttons != MsgButtons::OK;
}

// The answer that changes nothing.
MsgAnswer Refusal(MsgButtons buttons) {
    return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
}

const char* AnswerName(MsgAnswer answer) {
    switch (answer) {
    case MsgAnswer::OK:
        return "OK";
    case MsgAnswer::Cancel:
        return "Cancel";
    case MsgAnswer::Yes:
        return "Yes";
    case MsgAnswer::No:
        return "No";
    }
    return "";
}

} // namespace

std::string ConsoleText(const std::string& bytes, int codePage) {
    const std::string text = CodePageToUtf8(bytes, codePage);
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // The C1 controls stand for bytes with no character; they are blanks as the C0 ones are.
        const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (!(c < 0x20 || c == 0x7F || c1)) {
            line.push_back(static_cast<char>(c));
            continue;
        }
        // A CR LF pair is one line break, one blank.
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        if (c1) ++i;
        line.push_back(' ');
    }
    return line;
}

void ConsoleDialogs::Answer(const std::string& title, MsgButtons buttons, MsgAnswer answer,
                            bool quiet) {
    Answers.push_back({title, buttons, answer, quiet});
}

void ConsoleDialogs::WriteNote(const std::string& bytes) {
    Err << "quill: note: " << ConsoleText(bytes, TextCodePage) << '\n';
}

void ConsoleDialogs::Note(const std::string& bytes) {
    FlushHeld();
    WriteNote(bytes);
}

void ConsoleDialogs::WriteFailure(const std::string& bytes) {
    Err << "quill: " << ConsoleText(bytes, TextCodePage) << '\n';
    FailureWritten = true;
}

void ConsoleDialogs::FlushHeld() {
    if (Held) WriteNote(*Held);
    Held.reset();
}

MsgAnswer ConsoleDialogs::MsgBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                                 const std::string& title) {
    if (!IsQuestion(buttons)) {
        FlushHeld();
        const bool expected = std::find(ExpectedWarnings.begin(), ExpectedWarnings.end(), prompt) !=
                              ExpectedWarnings.end();
        if (expected) {
            Err << "quill: warning: " << ConsoleText(prompt, TextCodePage) << '\n';
        } else if (icon == MsgIcon::Exclamation || icon == MsgIcon::Critical) {
            // Only the first reason is given; anything after it follows from it.
            if (!FailureWritten) WriteFailure(prompt);
        } else {
            Held = prompt;
        }
        return MsgAnswer::OK;
    }
    for (const Answered& answered : Answers) {
        if (answered.Title != title || answered.Buttons != buttons) continue;
        if (!answered.Quiet) {
            FlushHeld();
            WriteNote(prompt + " (answered " + AnswerName(answered.Answer) + ")");
        }
        return answered.Answer;
    }
    FlushHeld();
    // A read-only file is never replaced from the command line: the refusal is the reason.
    if (title == ReadOnlyQuestionTitle) {
        if (!FailureWritten) WriteFailure(ReadOnlyRefusal(prompt));
        return Refusal(buttons);
    }
    if (!FailureWritten)
        WriteFailure("cannot answer the question \"" + prompt +
                     "\" from the command line; nothing was written");
    return Refusal(buttons);
}

std::string ConsoleDialogs::InputBox(const std::string& prompt, const std::string&,
                                     const std::string&) {
    FlushHeld();
    if (!FailureWritten)
        WriteFailure("cannot answer the question \"" + prompt +
                     "\" from the command line; nothing was written");
    return {};
}

int ConsoleDialogs::Fail(const std::string& fallback) {
    if (!FailureWritten) {
        // A report without a file name (the CSV reader's) is given after the fallback, which has
        // one.
        const std::string reason = Held ? fallback + ": " + *Held : fallback;
        Held.reset();
        WriteFailure(reason);
    }
    FlushHeld();
    return 2;
}

void ConsoleDialogs::Finish() {
    FlushHeld();
}
