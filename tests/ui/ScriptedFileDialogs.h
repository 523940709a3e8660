#pragma once
// A FileDialogs that records every dialog it is asked to show and answers from a queue: a chosen
// path or a cancel. A dialog nobody expected fails the running test.

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ui/widgets/FileDialogs.h"

// How a dialog's setup shows in a failed expectation: its fields, not its bytes.
inline void PrintTo(const FileDialogSetup& setup, std::ostream* out) {
    *out << "{\"" << setup.DialogTitle << "\", \"" << setup.Filter << "\", \"" << setup.InitDir
         << "\", \"" << setup.DefaultExt << "\", \"" << setup.FileName << "\", 0x" << std::hex
         << setup.Flags << std::dec << ", " << setup.FilterIndex << "}";
}

struct ShownFileDialog {
    bool save = false;
    FileDialogSetup setup;
    bool folder = false; // a folder was asked for
};

class ScriptedFileDialogs : public FileDialogs {
public:
    ~ScriptedFileDialogs() override;

    ScriptedFileDialogs& Choose(const std::string& path);
    ScriptedFileDialogs& Cancel();

    int ShowOpen(const FileDialogSetup& setup, std::string& path) override;
    int ShowSave(const FileDialogSetup& setup, std::string& path) override;
    int ShowFolder(const FileDialogSetup& setup, std::string& path) override;

    const std::vector<ShownFileDialog>& Shown() const { return Dialogs; }

private:
    int Answer(bool save, const FileDialogSetup& setup, std::string& path, bool folder = false);

    std::deque<std::optional<std::string>> Queue; // nullopt is a cancel
    std::vector<ShownFileDialog> Dialogs;
};
