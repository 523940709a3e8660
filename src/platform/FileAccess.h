#pragma once
// Whole-file reading and writing for the documents, the one place where the core calls the
// operating system for files. A file is read into memory at once, and a file is replaced only by
// renaming a complete, flushed copy written beside it, so a failed write leaves the old file as it
// was. Failures come back as the system's reason, ready for a message. Paths are UTF-8.

#include <string>

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason);
bool ReplaceFileContent(const std::string& path, const std::string& bytes, std::string& reason);

// A path as a message shows it: the system's UTF-8 turned into Windows-1252 bytes, with '?' for
// characters the code page lacks.
std::string PathForMessage(const std::string& path);
