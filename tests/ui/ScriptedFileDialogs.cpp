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

int ScriptedFileDialogs::ShowOpen(const FileDialogSetup& setup, std::string& path) {
    return Answer(false, setup, path);
}

int ScriptedFileDialogs::ShowSave(const FileDialogSetup& setup, std::string& path) {
    return Answer(true, setup, path);
}

int ScriptedFileDialogs::ShowFolder(const FileDialogSetup& setup, std::string& path) {
    return Answer(false, setup, path, true);
}

int ScriptedFileDialogs::Answer(bool save, const FileDialogSetup& setup, std::string& path,
                                bool folder) {
    Dialogs.push_back({save, setup, folder});
    if (Queue.empty()) {
        ADD_FAILURE() << "unexpected file dialog \"" << setup.DialogTitle << "\"";
        return FileDialogCancel;
    }
    const std::optional<std::string> answer = Queue.front();
    Queue.pop_front();
    if (!answer) return FileDialogCancel;
    path = *answer;
    return 0;
}
