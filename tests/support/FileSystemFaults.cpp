#include "FileSystemFaults.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/stat.h>

#include "FileSizeLimit.h"
#endif

#ifdef _WIN32

namespace {

// The system's text for an error as the messages quote it: without the line break and full stop.
std::string SystemText(DWORD error) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text ? std::string(text, length) : std::string();
    if (text) ::LocalFree(text);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message;
}

std::wstring Wide(const std::string& path) {
    std::wstring wide(path.size(), L'\0');
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                                        wide.data(), static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return wide;
}

} // namespace

std::string MissingFileReason() {
    return SystemText(ERROR_FILE_NOT_FOUND);
}
std::string MissingFolderReason() {
    return SystemText(ERROR_PATH_NOT_FOUND);
}

bool MakeSymbolicLink(const std::string& target, const std::string& link) {
    // Developer mode allows links without elevation. Some systems report success and make
    // nothing, so the link is looked for afterwards.
    constexpr DWORD unprivileged = 0x2; // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    if (!::CreateSymbolicLinkW(Wide(link).c_str(), Wide(target).c_str(), unprivileged))
        ::CreateSymbolicLinkW(Wide(link).c_str(), Wide(target).c_str(), 0);
    return IsSymbolicLink(link);
}

bool IsSymbolicLink(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool SetDistinctProperty(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           ::SetFileAttributesW(Wide(path).c_str(), attributes | FILE_ATTRIBUTE_HIDDEN) != 0;
}

bool HasDistinctProperty(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

struct SaveBlocker::Hold {
    HANDLE File = INVALID_HANDLE_VALUE;
    ~Hold() {
        if (File != INVALID_HANDLE_VALUE) ::CloseHandle(File);
    }
};
SaveBlocker::SaveBlocker(const std::string& path) : Held(std::make_unique<Hold>()) {
    Held->File = ::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
SaveBlocker::~SaveBlocker() = default;
std::string SaveBlocker::Reason() {
    return SystemText(ERROR_SHARING_VIOLATION);
}

#else

std::string MissingFileReason() {
    return "No such file or directory";
}
std::string MissingFolderReason() {
    return "No such file or directory";
}

bool MakeSymbolicLink(const std::string& target, const std::string& link) {
    std::error_code error;
    std::filesystem::create_symlink(target, link, error);
    return !error;
}

bool IsSymbolicLink(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_symlink(path, error);
}

bool SetDistinctProperty(const std::string& path) {
    return ::chmod(path.c_str(), 0640) == 0;
}

bool HasDistinctProperty(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & 07777) == 0640;
}

// The cap is the process's, so the path is not needed.
struct SaveBlocker::Hold {
    FileSizeLimit Cap{1024};
};
SaveBlocker::SaveBlocker(const std::string&) : Held(std::make_unique<Hold>()) {}
SaveBlocker::~SaveBlocker() = default;
std::string SaveBlocker::Reason() {
    return "File too large";
}

#endif

std::string FolderReason() {
    return "Is a directory";
}
