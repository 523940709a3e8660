#pragma once
// A UserDialogs that records every box it is shown and answers from a queue. A box for which no
// answer is queued, or a message box where an input box was expected (and the other way round),
// fails the running test.

#include <deque>
#include <string>
#include <variant>
#include <vector>

#include "layout/UserDialogs.h"

struct ShownBox {
    bool isInput = false;
    std::string prompt;
    std::string title;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
    std::string proposed; // input boxes only
};

class ScriptedDialogs : public UserDialogs {
public:
    ~ScriptedDialogs() override;

    // Queues the answer of the next message box.
    ScriptedDialogs& Answer(MsgAnswer answer);
    ScriptedDialogs& Answer(MsgAnswer answer, int times);
    // Queues the text the next input box returns ("" is a cancel).
    ScriptedDialogs& Type(const std::string& text);

    MsgAnswer MsgBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                     const std::string& title = {}) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& proposed) override;

    const std::vector<ShownBox>& Shown() const { return Boxes; }
    const ShownBox& Last() const;
    std::vector<std::string> Prompts() const;
    std::size_t PendingAnswers() const { return Queue.size(); }
    // Forgets what was shown (answers still queued are kept).
    void ClearShown() { Boxes.clear(); }

private:
    std::deque<std::variant<MsgAnswer, std::string>> Queue;
    std::vector<ShownBox> Boxes;
};
