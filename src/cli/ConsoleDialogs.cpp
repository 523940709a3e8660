#include "cli/ConsoleDialogs.h"

#include "platform/Windows1252.h"

#include <algorithm>

namespace {

// Bytes with no printable character: the C0 controls, DEL, and the five bytes the code page leaves
// to the C1 controls.
bool IsControlByte(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

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

std::string ConsoleText(const std::string& bytes) {
    std::string line;
    line.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (!IsControlByte(c)) {
            line.push_back(static_cast<char>(c));
            continue;
        }
        // A CR LF pair is one line break, one blank.
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        line.push_back(' ');
    }
    return Windows1252ToUtf8(line);
}

void ConsoleDialogs::Answer(const std::string& title, MsgButtons buttons, MsgAnswer answer,
                            bool quiet) {
    Answers.push_back({title, buttons, answer, quiet});
}

void ConsoleDialogs::WriteNote(const std::string& bytes) {
    Err << "quill: note: " << ConsoleText(bytes) << '\n';
}

void ConsoleDialogs::Note(const std::string& bytes) {
    FlushHeld();
    WriteNote(bytes);
}

void ConsoleDialogs::WriteFailure(const std::string& bytes) {
    Err << "quill: " << ConsoleText(bytes) << '\n';
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
            Err << "quill: warning: " << ConsoleText(prompt) << '\n';
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
