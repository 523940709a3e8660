#pragma once
// The seam through which the windows ask the user for a file, so tests can script the chosen path
// or a cancel. A dialog is described as the host's tools describe theirs: a title, a filter string
// of "description|pattern|" pairs, an initial folder, a default extension, an initial file name
// and flags. Title, filter and extension are Windows-1252 bytes like every text of the program;
// the folder, the file name and the chosen path are the system's (UTF-8).

#include <string>

// What a file dialog reports when the user cancelled it.
constexpr int FileDialogCancel = 32755;

namespace FileDialogFlag {
constexpr int OverwritePrompt = 0x2; // ask before replacing an existing file
constexpr int HideReadOnly = 0x4;    // no read-only box (there never is one here)
constexpr int FileMustExist = 0x1000;
constexpr int CreatePrompt = 0x2000; // ask before a file that does not exist yet is created
} // namespace FileDialogFlag

struct FileDialogSetup {
    std::string DialogTitle;
    std::string Filter;     // e.g. "Mill Layouts |*.set|Turning Layouts|*.lset|"
    std::string InitDir;    // where the dialog starts; its own default when this does not exist
    std::string DefaultExt; // added when the user types a name without one: "*.set", ".set", "set"
    std::string FileName;   // the name proposed when the dialog opens
    int Flags = 0;
    // The filter selected when the dialog opens, counted from 1 as the host's dialogs count
    // them; 0 is the first.
    int FilterIndex = 0;

    bool operator==(const FileDialogSetup&) const = default;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Each returns 0 with the chosen path, or FileDialogCancel with `path` untouched.
    virtual int ShowOpen(const FileDialogSetup& setup, std::string& path) = 0;
    virtual int ShowSave(const FileDialogSetup& setup, std::string& path) = 0;
    // A folder (title and initial folder of the setup are used); cancelled where not offered.
    virtual int ShowFolder(const FileDialogSetup& setup, std::string& path) {
        (void)setup;
        (void)path;
        return FileDialogCancel;
    }
};
