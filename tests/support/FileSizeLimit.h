#pragma once
// Caps the size of files this process may write, the way a full disk cuts a write short: writes
// beyond the cap fail with EFBIG instead of raising SIGXFSZ. Restored when the object goes.
// Windows has no such cap for a process; there the object does nothing and Supported is false, so a
// test checks it and skips what needs the cap.

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>

class FileSizeLimit {
public:
    static constexpr bool Supported = true;

    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &Saved);
        OldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit capped = Saved;
        capped.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &Saved);
        std::signal(SIGXFSZ, OldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit Saved{};
    void (*OldHandler)(int) = nullptr;
};
#else
class FileSizeLimit {
public:
    static constexpr bool Supported = false;

    explicit FileSizeLimit(unsigned long long) {}
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
};
#endif
