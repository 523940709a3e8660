#include "platform/FileAccess.h"

#include <algorithm>
#include <cstdint>
#include <string>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace {

// The system knows files by UTF-16 names; false for a name that is not well-formed UTF-8.
bool WidePath(const std::string& utf8, std::wstring& wide) {
    wide.clear();
    if (utf8.empty()) return true;
    const int size = static_cast<int>(utf8.size());
    const int n =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (n <= 0) return false;
    wide.assign(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), n);
    return true;
}

// The system's text for an error, in the code page of the messages and without the closing full
// stop, so it reads like the other systems' reasons inside a sentence.
std::string SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length > 0 && text ? std::wstring(text, length) : std::wstring();
    if (text) ::LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' ||
                                message.back() == L' ' || message.back() == L'.'))
        message.pop_back();
    if (message.empty()) return "Windows error " + std::to_string(error);
    const int size = static_cast<int>(message.size());
    const int n =
        ::WideCharToMultiByte(1252, 0, message.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    ::WideCharToMultiByte(1252, 0, message.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

// The reason the other systems give, for the one fault Windows words as a denied access.
const char* const kIsAFolder = "Is a directory";

// Closes a handle on every way out of a function.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : Handle(handle) {}
    ~FileHandle() {
        if (Valid()) ::CloseHandle(Handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return Handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return Handle; }
    // Closes now, so that a late write error reported by the close is not lost.
    bool Close() {
        const HANDLE handle = Handle;
        Handle = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }

private:
    HANDLE Handle;
};

DWORD Attributes(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str());
}

bool IsFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The file a save really replaces: through a symbolic link to the file it names, so the link stays.
std::wstring ResolvedTarget(const std::wstring& path) {
    const DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    FileHandle file(::CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Valid()) return path;
    const DWORD size = ::GetFinalPathNameByHandleW(file.Get(), nullptr, 0, FILE_NAME_NORMALIZED);
    if (size == 0) return path;
    std::wstring resolved(size, L'\0');
    const DWORD written =
        ::GetFinalPathNameByHandleW(file.Get(), resolved.data(), size, FILE_NAME_NORMALIZED);
    if (written == 0 || written >= size) return path;
    resolved.resize(written);
    return resolved;
}

bool WriteAll(HANDLE file, const std::string& bytes, DWORD& error) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) {
            error = ::GetLastError();
            return false;
        }
        if (written == 0) {
            error = ERROR_DISK_FULL;
            return false;
        }
        done += written;
    }
    return true;
}

// A new, empty file beside the target, with a name no other file has.
HANDLE CreateTemporaryBeside(const std::wstring& target, std::wstring& temporary, DWORD& error) {
    static unsigned counter = 0;
    const unsigned long long seed =
        ::GetTickCount64() ^ (static_cast<unsigned long long>(::GetCurrentProcessId()) << 20);
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned long long mix = seed + 0x9E3779B97F4A7C15ull * ++counter;
        mix ^= mix >> 29;
        wchar_t suffix[7];
        for (wchar_t& c : suffix) {
            c = L"0123456789abcdefghijklmnopqrstuvwxyz"[mix % 36];
            mix /= 36;
        }
        suffix[6] = L'\0';
        temporary = target + L".quill-" + suffix;
        const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    return INVALID_HANDLE_VALUE;
}

// Puts the complete temporary file in the target's place. An existing file is replaced through
// ReplaceFileW, which keeps its permissions on the new content; its attributes are given to the
// new file first, as not every implementation of ReplaceFileW carries them over. A read-only
// file stays refused.
bool MoveIntoPlace(const std::wstring& temporary, const std::wstring& target, DWORD attributes,
                   DWORD& error) {
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists) {
        constexpr DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if ((attributes & kept) != 0) ::SetFileAttributesW(temporary.c_str(), attributes & kept);
        if (::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
            return true;
        error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) return false;
    }
    if (::MoveFileExW(temporary.c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    error = ::GetLastError();
    return false;
}

} // namespace

namespace {

// Opens a file for reading; folders and devices are refused.
HANDLE OpenForReading(const std::string& path, std::string& reason) {
    std::wstring wide;
    if (!WidePath(path, wide)) {
        reason = SystemReason(ERROR_NO_UNICODE_TRANSLATION);
        return INVALID_HANDLE_VALUE;
    }
    if (IsFolder(Attributes(wide))) {
        reason = kIsAFolder;
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = SystemReason(::GetLastError());
        return INVALID_HANDLE_VALUE;
    }
    const DWORD type = ::GetFileType(file);
    if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) {
        ::CloseHandle(file);
        reason = "it is a device, not a file";
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

std::string TooLarge(std::uint64_t limit) {
    return "it is larger than " + std::to_string(limit) + " bytes";
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason,
                   std::uint64_t limit) {
    FileHandle file(OpenForReading(path, reason));
    if (!file.Valid()) return false;
    std::string content;
    LARGE_INTEGER size{};
    if (::GetFileType(file.Get()) == FILE_TYPE_DISK && ::GetFileSizeEx(file.Get(), &size)) {
        if (static_cast<std::uint64_t>(size.QuadPart) > limit) {
            reason = TooLarge(limit);
            return false;
        }
        if (size.QuadPart > 0) content.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_BROKEN_PIPE) break;
            reason = SystemReason(error);
            return false;
        }
        if (n == 0) break;
        if (content.size() + n > limit) {
            reason = TooLarge(limit);
            return false;
        }
        content.append(buffer, n);
    }
    bytes = std::move(content);
    return true;
}

FileSource::~FileSource() {
    if (Handle != -1) ::CloseHandle(reinterpret_cast<HANDLE>(Handle));
}

bool FileSource::Open(const std::string& path, std::string& reason) {
    if (Handle != -1) ::CloseHandle(reinterpret_cast<HANDLE>(Handle));
    const HANDLE file = OpenForReading(path, reason);
    Handle = file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(file);
    return Handle != -1;
}

bool FileSource::Read(std::string& out, std::size_t count, std::string& reason) {
    const std::size_t start = out.size();
    out.resize(start + count);
    std::size_t done = 0;
    while (done < count) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 24));
        DWORD n = 0;
        if (!::ReadFile(reinterpret_cast<HANDLE>(Handle), out.data() + start + done, chunk, &n,
                        nullptr)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_BROKEN_PIPE) break;
            reason = SystemReason(error);
            out.resize(start + done);
            return false;
        }
        if (n == 0) break;
        done += n;
    }
    out.resize(start + done);
    return true;
}

// Links are followed by the system when the file is replaced (ResolvedTarget); the name itself
// is where a backup goes.
std::string WriteTargetOf(const std::string& path) {
    return path;
}

bool IsReadOnlyFile(const std::string& path) {
    std::wstring wide;
    if (!WidePath(path, wide)) return false;
    const DWORD attributes = Attributes(wide);
    return attributes != INVALID_FILE_ATTRIBUTES && !IsFolder(attributes) &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool ReplaceFileContent(const std::string& path, const std::string& bytes, std::string& reason,
                        const FileWrite& how) {
    std::wstring wide;
    if (!WidePath(path, wide)) {
        reason = SystemReason(ERROR_NO_UNICODE_TRANSLATION);
        return false;
    }
    const std::wstring target = ResolvedTarget(wide);
    const DWORD attributes = Attributes(target);
    if (IsFolder(attributes)) {
        reason = kIsAFolder;
        return false;
    }
    const bool readOnly =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !how.ReplaceReadOnly) {
        reason = ReadOnlyReason;
        return false;
    }
    // The user agreed: the old file gives way, and the new content is read-only again.
    if (readOnly) ::SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);

    std::wstring temporary;
    DWORD error = 0;
    FileHandle file(CreateTemporaryBeside(target, temporary, error));
    if (!file.Valid()) {
        reason = SystemReason(error);
        return false;
    }
    bool ok = WriteAll(file.Get(), bytes, error);
    ok = ok && (::FlushFileBuffers(file.Get()) || (error = ::GetLastError(), false));
    ok = ok && (file.Close() || (error = ::GetLastError(), false));
    ok = ok && MoveIntoPlace(temporary, target, attributes, error);
    if (!ok) {
        if (file.Valid()) file.Close();
        ::DeleteFileW(temporary.c_str());
        reason = SystemReason(error);
    }
    if (readOnly) {
        const DWORD now = Attributes(target);
        if (now != INVALID_FILE_ATTRIBUTES)
            ::SetFileAttributesW(target.c_str(), now | FILE_ATTRIBUTE_READONLY);
    }
    return ok;
}

namespace {

// The entry found, as the system gives it: its name in UTF-8 and its kind, through a link.
bool EntryOf(const WIN32_FIND_DATAW& found, const std::wstring& folderPrefix, FolderEntry& entry) {
    const std::wstring name = found.cFileName;
    DWORD attributes = found.dwFileAttributes;
    // A link is taken as what it names, which only opening it tells (the attributes are the
    // link's own); a link to nothing is left out.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        FileHandle target(::CreateFileW((folderPrefix + name).c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        BY_HANDLE_FILE_INFORMATION information{};
        if (!target.Valid() || !::GetFileInformationByHandle(target.Get(), &information))
            return false;
        attributes = information.dwFileAttributes;
    }
    const int size = static_cast<int>(name.size());
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, name.data(), size, nullptr, 0, nullptr, nullptr);
    entry.Name.assign(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, name.data(), size, entry.Name.data(), n, nullptr, nullptr);
    entry.Folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.File = !entry.Folder && (attributes & FILE_ATTRIBUTE_DEVICE) == 0;
    return true;
}

// The folder as the start of its entries' paths.
bool FolderPrefix(const std::string& folder, std::wstring& prefix) {
    if (!WidePath(folder.empty() ? std::string(".") : folder, prefix)) return false;
    if (prefix.back() != L'\\' && prefix.back() != L'/') prefix += L'\\';
    return true;
}

} // namespace

bool FindInFolder(const std::string& folder, const std::string& name, FolderEntry& found) {
    std::wstring prefix, wideName;
    if (!FolderPrefix(folder, prefix) || !WidePath(name, wideName) || wideName.empty() ||
        wideName.find_first_of(L"*?\\/") != std::wstring::npos)
        return false;
    // Most names asked for are not there, and asking for the attributes is the cheapest way to
    // learn it; the search, which gives the spelling, follows only for a name that is.
    if (Attributes(prefix + wideName) == INVALID_FILE_ATTRIBUTES) return false;
    WIN32_FIND_DATAW data{};
    const HANDLE search = ::FindFirstFileExW((prefix + wideName).c_str(), FindExInfoBasic, &data,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return false;
    ::FindClose(search);
    return EntryOf(data, prefix, found);
}

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    std::wstring prefix;
    if (!FolderPrefix(folder, prefix)) return entries;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileExW((prefix + L'*').c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        FolderEntry entry;
        if (EntryOf(found, prefix, entry)) entries.push_back(std::move(entry));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return entries;
}
