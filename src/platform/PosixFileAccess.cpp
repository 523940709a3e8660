#include "platform/FileAccess.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string SystemReason(int error) {
    return std::strerror(error);
}

// Closes a descriptor on every way out of a function.
class FileHandle {
public:
    explicit FileHandle(int fd) : Fd(fd) {}
    ~FileHandle() {
        if (Fd >= 0) ::close(Fd);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int Get() const { return Fd; }
    // Closes now, so that a late write error reported by close is not lost.
    bool Close() {
        const int fd = Fd;
        Fd = -1;
        return ::close(fd) == 0;
    }

private:
    int Fd;
};

bool WriteAll(int fd, const std::string& bytes, int& error) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        if (n == 0) {
            error = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

constexpr int MaxLinksFollowed = 40;

// Opens a file for reading; folders and devices are refused, a FIFO is read as it comes.
int OpenForReading(const std::string& path, std::string& reason) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        reason = SystemReason(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        reason = SystemReason(errno);
        ::close(fd);
        return -1;
    }
    if (S_ISDIR(info.st_mode) || S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) ||
        S_ISSOCK(info.st_mode)) {
        reason = S_ISDIR(info.st_mode) ? SystemReason(EISDIR) : "it is a device, not a file";
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads up to `count` bytes; the number read, 0 at the end, -1 on an error (in errno).
ssize_t ReadSome(int fd, char* buffer, std::size_t count) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, count);
        if (n < 0 && errno == EINTR) continue;
        return n;
    }
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason,
                   std::uint64_t limit) {
    FileHandle file(OpenForReading(path, reason));
    if (file.Get() < 0) return false;
    struct stat info {};
    std::string content;
    if (::fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode)) {
        if (static_cast<std::uint64_t>(info.st_size) > limit) {
            reason = "it is larger than " + std::to_string(limit) + " bytes";
            return false;
        }
        if (info.st_size > 0) content.reserve(static_cast<std::size_t>(info.st_size));
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ReadSome(file.Get(), buffer, sizeof buffer);
        if (n < 0) {
            reason = SystemReason(errno);
            return false;
        }
        if (n == 0) break;
        if (content.size() + static_cast<std::size_t>(n) > limit) {
            reason = "it is larger than " + std::to_string(limit) + " bytes";
            return false;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    bytes = std::move(content);
    return true;
}

FileSource::~FileSource() {
    if (Handle >= 0) ::close(static_cast<int>(Handle));
}

bool FileSource::Open(const std::string& path, std::string& reason) {
    if (Handle >= 0) ::close(static_cast<int>(Handle));
    Handle = OpenForReading(path, reason);
    return Handle >= 0;
}

bool FileSource::Read(std::string& out, std::size_t count, std::string& reason) {
    const std::size_t start = out.size();
    out.resize(start + count);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ReadSome(static_cast<int>(Handle), out.data() + start + done,
                                   count - done);
        if (n < 0) {
            reason = SystemReason(errno);
            out.resize(start + done);
            return false;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    out.resize(start + done);
    return true;
}

std::string WriteTargetOf(const std::string& path) {
    std::string target = path;
    for (int hop = 0; hop < MaxLinksFollowed; ++hop) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return target;
        std::string named(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : PATH_MAX) + 1,
                          '\0');
        const ssize_t n = ::readlink(target.c_str(), named.data(), named.size());
        if (n < 0 || static_cast<std::size_t>(n) >= named.size()) return target;
        named.resize(static_cast<std::size_t>(n));
        if (named.empty()) return target;
        if (named.front() != '/') {
            // Relative to the folder holding the link.
            const std::size_t slash = target.rfind('/');
            if (slash != std::string::npos) named = target.substr(0, slash + 1) + named;
        }
        target = named;
    }
    return target; // a loop of links: writing to it fails with the system's reason
}

bool IsReadOnlyFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    // By its permission bits, so the answer is the same for every user, the administrator too.
    return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool ReplaceFileContent(const std::string& path, const std::string& bytes, std::string& reason,
                        const FileWrite& how) {
    const std::string target = WriteTargetOf(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        reason = SystemReason(EISDIR);
        return false;
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        reason = "it is a device, not a file";
        return false;
    }
    if (exists && !how.ReplaceReadOnly && IsReadOnlyFile(target)) {
        reason = ReadOnlyReason;
        return false;
    }
    mode_t mode = exists ? (existing.st_mode & 0777) : NewFileMode();
    if (struct stat like {}; !how.ModeLike.empty() && ::stat(how.ModeLike.c_str(), &like) == 0)
        mode = like.st_mode & 0777;

    std::string temporary = target + ".quill-XXXXXX";
    FileHandle file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.Get() < 0) {
        reason = SystemReason(errno);
        return false;
    }
    int error = 0;
    bool ok = ::fchmod(file.Get(), mode) == 0 || (error = errno, false);
    ok = ok && WriteAll(file.Get(), bytes, error);
    ok = ok && (::fsync(file.Get()) == 0 || (error = errno, false));
    ok = ok && (file.Close() || (error = errno, false));
    ok = ok && (::rename(temporary.c_str(), target.c_str()) == 0 || (error = errno, false));
    if (!ok) {
        ::unlink(temporary.c_str());
        reason = SystemReason(error);
    }
    return ok;
}

std::vector<FolderEntry> ListFolder(const std::string& folder) {
    std::vector<FolderEntry> entries;
    DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr) return entries;
    while (const dirent* found = ::readdir(listing)) {
        const char* name = found->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        FolderEntry entry;
        entry.Name = name;
        unsigned char type = found->d_type;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            struct stat info {};
            const std::string path = folder.empty() || folder.back() == '/'
                                         ? folder + name
                                         : folder + "/" + name;
            type = ::stat(path.c_str(), &info) != 0 ? DT_UNKNOWN
                   : S_ISDIR(info.st_mode)          ? DT_DIR
                   : S_ISREG(info.st_mode)          ? DT_REG
                                                    : DT_UNKNOWN;
        }
        entry.Folder = type == DT_DIR;
        entry.File = type == DT_REG;
        entries.push_back(std::move(entry));
    }
    ::closedir(listing);
    return entries;
}

bool FindInFolder(const std::string&, const std::string&, FolderEntry&) {
    return false; // names match in their own letter case only: the folder is listed instead
}
