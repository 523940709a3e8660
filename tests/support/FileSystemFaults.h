#pragma once
// What the tests of failing file operations need from the system they run on: its wording of the
// faults they provoke, symbolic links, and a property of a file that a save must keep.

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
