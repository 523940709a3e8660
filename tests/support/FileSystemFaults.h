#pragma once
// What the tests of failing file operations need from the system they run on: its wording of the
// faults they provoke, symbolic links, and a property of a file that a save must keep.

#include <memory>
#include <string>

// The reason a message gives for a name missing from its folder, for a folder on the way that does
// not exist, and for a folder where a file was named.
std::string MissingFileReason();
std::string MissingFolderReason();
std::string FolderReason();

// Makes `link` a symbolic link to `target`; false where the system or the user may not.
bool MakeSymbolicLink(const std::string& target, const std::string& link);
bool IsSymbolicLink(const std::string& path);

// Gives the file a property other than a new file's (mode 0640 on POSIX systems, the hidden
// attribute on Windows), and tells whether it still has it.
bool SetDistinctProperty(const std::string& path);
bool HasDistinctProperty(const std::string& path);

// Makes saves over a file fail while it lives, the way this system lets a test provoke it: on
// POSIX systems the process may write no more than a few bytes, as on a full disk; on Windows the
// file is held open without leave to replace it, as the host holds a layout it has open. The file
// stays readable. Reason() is the system's wording of the fault.
class SaveBlocker {
public:
    explicit SaveBlocker(const std::string& path);
    ~SaveBlocker();
    SaveBlocker(const SaveBlocker&) = delete;
    SaveBlocker& operator=(const SaveBlocker&) = delete;

    static std::string Reason();

private:
    struct Hold; // the cap on POSIX systems, the open file on Windows
    std::unique_ptr<Hold> Held;
};
