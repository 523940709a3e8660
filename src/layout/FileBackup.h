#pragma once
// The backup kept of a file before it is replaced, as Save keeps one of a layout: the old content
// as NAME.bak beside it (BackupPathOf), replacing an older backup. When the new content cannot then
// be written, the backup is put back as it was, so a failed write changes no file.
//
// The file replaced is the one a symbolic link names (WriteTargetOf), and its backup lies beside
// that file, with that file's permission bits. A read-only file is not replaced unless the user
// has agreed (FileWrite::ReplaceReadOnly).

#include <optional>
#include <string>

#include "platform/FileAccess.h"

// Where a save keeps the content of the file it replaces: NAME.bak beside it (mill.set.bak),
// beside the file a link names when `path` is a symbolic link.
std::string BackupPathOf(const std::string& path);

class FileBackup {
public:
    // Keeps the backup when `path` is an existing file. False, with the reason in the words of
    // a message ("its backup "x.svg.bak" could not be written: ... Neither file was changed.",
    // or ReadOnlyReason), when the backup cannot be written or the file may not be replaced;
    // nothing has changed then.
    bool Keep(const std::string& path, std::string& failure, const FileWrite& how = {});
    // After the output failed: the backup as it was before Keep.
    void PutBack();

private:
    bool Kept = false;
    std::string BackupPath;
    std::optional<std::string> EarlierBytes; // the backup's content before Keep; none: no backup
};

// Writes `bytes` to `path` by the rule above, keeping the old content as NAME.bak first when
// `keepBackup` is set. False, with the reason, when nothing was written.
bool WriteWithBackup(const std::string& path, const std::string& bytes, std::string& failure,
                     bool keepBackup = true, const FileWrite& how = {});
