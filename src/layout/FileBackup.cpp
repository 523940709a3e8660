#include "layout/FileBackup.h"

#include <filesystem>
#include <system_error>
#include "platform/SystemPaths.h"

namespace {

bool IsExistingFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(PathOf(path), error);
}

} // namespace

std::string BackupPathOf(const std::string& path) {
    return WriteTargetOf(path) + ".bak";
}

bool FileBackup::Keep(const std::string& path, std::string& failure, const FileWrite& how) {
    const std::string target = WriteTargetOf(path);
    if (!IsExistingFile(target)) return true;
    if (!how.ReplaceReadOnly && IsReadOnlyFile(target)) {
        failure = ReadOnlyReason;
        return false;
    }
    BackupPath = target + ".bak";
    std::string old, reason;
    if (!ReadWholeFile(target, old, reason)) {
        failure = "it could not be read to keep its backup \"" + PathForMessage(BackupPath) +
                  "\": " + reason + ". Neither file was changed.";
        return false;
    }
    std::string earlier;
    if (IsExistingFile(BackupPath) && ReadWholeFile(BackupPath, earlier, reason))
        EarlierBytes = std::move(earlier);
    // The backup is the program's own: it is replaced even when read-only, and takes the
    // permission bits of the file it keeps, so it is never more open than that file.
    FileWrite backupWrite;
    backupWrite.ReplaceReadOnly = true;
    backupWrite.ModeLike = target;
    if (!ReplaceFileContent(BackupPath, old, reason, backupWrite)) {
        failure = "its backup \"" + PathForMessage(BackupPath) +
                  "\" could not be written: " + reason + ". Neither file was changed.";
        return false;
    }
    Kept = true;
    return true;
}

void FileBackup::PutBack() {
    if (!Kept) return;
    std::string reason;
    if (EarlierBytes) {
        FileWrite backupWrite;
        backupWrite.ReplaceReadOnly = true;
        ReplaceFileContent(BackupPath, *EarlierBytes, reason, backupWrite);
    } else {
        std::error_code error;
        std::filesystem::remove(PathOf(BackupPath), error);
    }
    Kept = false;
}

bool WriteWithBackup(const std::string& path, const std::string& bytes, std::string& failure,
                     bool keepBackup, const FileWrite& how) {
    FileBackup backup;
    if (keepBackup && !backup.Keep(path, failure, how)) return false;
    if (ReplaceFileContent(path, bytes, failure, how)) return true;
    backup.PutBack();
    return false;
}
