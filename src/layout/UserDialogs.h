#pragma once
// The seam through which the document talks to the user: a modal message box and a modal input box.
// Every prompt, title and answer is Windows-1252 bytes, as the records hold their texts.

#include <string>

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Exclamation, Question, Critical };
enum class MsgAnswer { OK, Cancel, Yes, No };

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // An empty title means the application title "KorvoScreenQuill".
    virtual MsgAnswer MsgBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                             const std::string& title = {}) = 0;
    // Returns the empty text on Cancel.
    virtual std::string InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& proposed) = 0;
};

// The question asked before a read-only file is replaced: the title, and the prompt made of the
// refusal ("Cannot save layout file "x": the file is read-only") that stands when the answer is No.
inline constexpr const char* ReadOnlyQuestionTitle = "Read-only file";
inline std::string ReadOnlyQuestion(const std::string& refusal) {
    return refusal + ".\n\nReplace it anyway? The new file stays read-only.";
}
// The refusal a read-only question holds.
inline std::string ReadOnlyRefusal(const std::string& question) {
    return question.substr(0, question.find(".\n\n"));
}
