#include "ScriptedFileDialogs.h"

#include <gtest/gtest.h>

ScriptedFileDialogs::~ScriptedFileDialogs() {
    EXPECT_TRUE(Queue.empty()) << Queue.size() << " file dialog answer(s) were never asked for";
}

ScriptedFileDialogs& ScriptedFileDialogs::Choose(const std::string& path) {
    Queue.emplace_back(path);
    return *this;
}

ScriptedFileDialogs& ScriptedFileDialogs::Cancel() {
    Queue.emplace_back(std::nullopt);
    return *this;
}

int ScriptedFileDialogs::ShowOpen(const FileDialogSpec& spec, std::string& path) {
    return Answer(false, spec, path);
}

int ScriptedFileDialogs::ShowSave(const FileDialogSpec& spec, std::string& path) {
    return Answer(true, spec, path);
}

int ScriptedFileDialogs::Answer(bool save, const FileDialogSpec& spec, std::string& path) {
    Dialogs.push_back({save, spec});
    if (Queue.empty()) {
        ADD_FAILURE() << "unexpected file dialog \"" << spec.DialogTitle << "\"";
        return FileDialogCancel;
    }
    const std::optional<std::string> answer = Queue.front();
    Queue.pop_front();
    if (!answer) return FileDialogCancel;
    path = *answer;
    return 0;
}
