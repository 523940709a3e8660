#pragma once
// Dialogs for a document read on the side (the other version of a comparison, a layout a command
// writes from text): its notes (a duplicate screen label) pass unseen, a question is answered No,
// and its last warning is kept to be told once, in the words of whoever reads it.

#include <string>

#include "layout/UserDialogs.h"

class QuietDialogs : public UserDialogs {
public:
    MsgAnswer MsgBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                     const std::string&) override {
        if (icon == MsgIcon::Exclamation || icon == MsgIcon::Critical) Warning = prompt;
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::No
                                                                                  : MsgAnswer::OK;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string Warning; // the last warning or error shown; empty for none
};
