#include "platform/FileAccess.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
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

// The file a save really replaces: through a symbolic link to the file it names, so the link stays.
std::string ResolvedTarget(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
    return path;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason) {
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        reason = SystemReason(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) {
        reason = SystemReason(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        reason = SystemReason(EISDIR);
        return false;
    }
    std::string content;
    if (info.st_size > 0) content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            reason = SystemReason(errno);
            return false;
        }
        if (n == 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    bytes = std::move(content);
    return true;
}

bool ReplaceFileContent(const std::string& path, const std::string& bytes, std::string& reason) {
    const std::string target = ResolvedTarget(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        reason = SystemReason(EISDIR);
        return false;
    }

    std::string temporary = target + ".quill-XXXXXX";
    FileHandle file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.Get() < 0) {
        reason = SystemReason(errno);
        return false;
    }
    int error = 0;
    const mode_t mode = exists ? (existing.st_mode & 07777) : NewFileMode();
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
