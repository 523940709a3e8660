#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

ScriptedDialogs::~ScriptedDialogs() {
    EXPECT_TRUE(Queue.empty()) << Queue.size() << " queued answer(s) were never asked for";
}

ScriptedDialogs& ScriptedDialogs::Answer(MsgAnswer answer) {
    Queue.emplace_back(answer);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::Answer(MsgAnswer answer, int times) {
    for (int i = 0; i < times; ++i)
        Queue.emplace_back(answer);
    return *this;
}

ScriptedDialogs& ScriptedDialogs::Type(const std::string& text) {
    Queue.emplace_back(text);
    return *this;
}

MsgAnswer ScriptedDialogs::MsgBox(const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                                  const std::string& title) {
    Boxes.push_back({false, prompt, title, buttons, icon, {}});
    if (Queue.empty() || !std::holds_alternative<MsgAnswer>(Queue.front())) {
        ADD_FAILURE() << "unexpected message box: \"" << prompt << "\"";
        return MsgAnswer::Cancel;
    }
    const MsgAnswer answer = std::get<MsgAnswer>(Queue.front());
    Queue.pop_front();
    return answer;
}

std::string ScriptedDialogs::InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& proposed) {
    Boxes.push_back({true, prompt, title, MsgButtons::OKCancel, MsgIcon::None, proposed});
    if (Queue.empty() || !std::holds_alternative<std::string>(Queue.front())) {
        ADD_FAILURE() << "unexpected input box: \"" << prompt << "\"";
        return {};
    }
    std::string answer = std::get<std::string>(Queue.front());
    Queue.pop_front();
    return answer;
}

const ShownBox& ScriptedDialogs::Last() const {
    static const ShownBox none;
    if (Boxes.empty()) {
        ADD_FAILURE() << "no box was shown";
        return none;
    }
    return Boxes.back();
}

std::vector<std::string> ScriptedDialogs::Prompts() const {
    std::vector<std::string> prompts;
    for (const ShownBox& box : Boxes)
        prompts.push_back(box.prompt);
    return prompts;
}
