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
