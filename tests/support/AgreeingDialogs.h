#pragma once
// A UserDialogs for benchmarks and fuzzing, where nobody answers: every question is agreed to
// (Yes, or OK), every input box is cancelled, and the boxes are counted.

#include "layout/UserDialogs.h"

class AgreeingDialogs : public UserDialogs {
public:
    MsgAnswer MsgBox(const std::string&, MsgButtons buttons, MsgIcon, const std::string&) override {
        ++Boxes;
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                                  : MsgAnswer::OK;
    }
    std::string InputBox(const std::string&, const std::string&, const std::string&) override {
        ++Boxes;
        return {};
    }
    int Boxes = 0;
};
