#pragma once
// The backup kept of a file before it is replaced, as Save keeps one of a layout: the old content
// as NAME.bak beside it (BackupPathOf), replacing an older backup. When the new content cannot then
// be written, the backup is put back as it was, so a failed write changes no file.

#include <optional>
#include <string>

class FileBackup {
public:
    // Keeps the backup when `path` is an existing file. False, with the reason in the words of
    // a message ("its backup "x.svg.bak" could not be written: ... Neither file was changed."),
    // when the backup cannot be written; nothing has changed then.
    bool Keep(const std::string& path, std::string& failure);
    // After the output failed: the backup as it was before Keep.
    void PutBack();

private:
    bool Kept = false;
    std::string BackupPath;
    std::optional<std::string> EarlierBytes; // the backup's content before Keep; none: no backup
};
