#include "layout/FileBackup.h"

#include <filesystem>
#include <system_error>

#include "layout/cLayout.h"
#include "platform/FileAccess.h"

namespace {

std::filesystem::path SystemPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool IsExistingFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(SystemPath(path), error);
}

} // namespace

bool FileBackup::Keep(const std::string& path, std::string& failure) {
    if (!IsExistingFile(path)) return true;
    BackupPath = BackupPathOf(path);
    std::string old, reason;
    if (!ReadWholeFile(path, old, reason)) {
        failure = "it could not be read to keep its backup \"" + PathForMessage(BackupPath) +
                  "\": " + reason + ". Neither file was changed.";
        return false;
    }
    std::string earlier;
    if (IsExistingFile(BackupPath) && ReadWholeFile(BackupPath, earlier, reason))
        EarlierBytes = std::move(earlier);
    if (!ReplaceFileContent(BackupPath, old, reason)) {
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
        ReplaceFileContent(BackupPath, *EarlierBytes, reason);
    } else {
        std::error_code error;
        std::filesystem::remove(SystemPath(BackupPath), error);
    }
    Kept = false;
}
