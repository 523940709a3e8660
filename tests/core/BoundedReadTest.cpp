// Readers bounded by what they read: a layout is read as far as its count, records and trailer
// go and no further, however long the file or the stream; a device is refused; a whole-file read
// stops at the limit its caller names.

#include <gtest/gtest.h>

#ifndef _WIN32

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "LayoutBuilders.h"
#include "ScriptedDialogs.h"
#include "layout/cLayout.h"
#include "platform/FileAccess.h"

namespace {

// Bytes this process has read so far, by the system's count; -1 where it does not keep one.
long long BytesReadByThisProcess() {
#ifdef __linux__
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
#endif
    return -1;
}

// Feeds a FIFO from a thread: `head`, then zeros without end, until the reader goes away.
class EndlessWriter {
public:
    EndlessWriter(const std::string& fifo, std::string head) {
        ::signal(SIGPIPE, SIG_IGN);
        Thread = std::thread([this, fifo, head = std::move(head)] {
            const int fd = ::open(fifo.c_str(), O_WRONLY);
            if (fd < 0) return;
            const std::string zeros(65536, '\0');
            std::string chunk = head.empty() ? zeros : head;
            for (;;) {
                const ssize_t n = ::write(fd, chunk.data(), chunk.size());
                if (n <= 0) break;
                Written += n;
                chunk = zeros;
            }
            ::close(fd);
        });
    }
    ~EndlessWriter() { Join(); }
    // Waits until the reader has gone; what was written by then.
    long long Join() {
        if (Thread.joinable()) Thread.join();
        return Written;
    }

private:
    std::thread Thread;
    std::atomic<long long> Written{0};
};

class BoundedReadTest : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    cLayout layout{dialogs};
    TempDir dir;
    const std::vector<ControlRecord> records = ControlsOnScreens({40, 30, 20});
    const std::string bytes = LayoutFileBytes(records);
};

TEST_F(BoundedReadTest, AHugeTailAfterTheTrailerIsNeverRead) {
    const std::string path = dir.Write("padded.set", bytes);
    constexpr std::uintmax_t Tail = 400ull << 20;
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(bytes.size() + Tail)), 0);

    const long long before = BytesReadByThisProcess();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(layout.LoadLayout(path));
    const auto took = std::chrono::steady_clock::now() - start;
    const long long after = BytesReadByThisProcess();

    EXPECT_EQ(layout.ControlCount(), static_cast<int>(records.size()));
    EXPECT_LT(took, std::chrono::milliseconds(250)) << "reading 400 MB would take longer";
    if (before >= 0) {
        EXPECT_LE(after - before, static_cast<long long>(bytes.size()) + 65536)
            << "the reader stops at the trailer, within one read of it";
    }
}

TEST_F(BoundedReadTest, AnEndlessStreamIsReadOnlyAsFarAsItsLayout) {
    const std::string fifo = dir.File("endless.set");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EndlessWriter writer(fifo, bytes);
    EXPECT_TRUE(layout.LoadLayout(fifo));
    EXPECT_EQ(layout.ControlCount(), static_cast<int>(records.size()));
    // The load has closed the stream, which ends the writer; what it got in is the layout, one
    // read beyond, and what the pipe held.
    EXPECT_LT(writer.Join(), static_cast<long long>(bytes.size()) + (1 << 20));
}

TEST_F(BoundedReadTest, DevicesAreRefusedAtOnce) {
    for (const char* device : {"/dev/zero", "/dev/urandom", "/dev/null"}) {
        SCOPED_TRACE(device);
        std::string reason, read;
        EXPECT_FALSE(ReadWholeFile(device, read, reason));
        EXPECT_EQ(reason, "it is a device, not a file");
        dialogs.Answer(MsgAnswer::OK);
        EXPECT_FALSE(layout.LoadLayout(device));
        EXPECT_EQ(dialogs.Last().prompt,
                  "Cannot read layout file \"" + std::string(device) +
                      "\": it is a device, not a file");
    }
}

TEST_F(BoundedReadTest, AWholeFileReadStopsAtItsLimit) {
    const std::string path = dir.Write("small.txt", std::string(1000, 'x'));
    std::string read, reason;
    EXPECT_TRUE(ReadWholeFile(path, read, reason, 1000));
    EXPECT_EQ(read.size(), 1000u);
    read = "kept";
    EXPECT_FALSE(ReadWholeFile(path, read, reason, 999));
    EXPECT_EQ(reason, "it is larger than 999 bytes");
    EXPECT_EQ(read, "kept") << "a refused read leaves the result as it was";

    const std::string fifo = dir.File("endless.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EndlessWriter writer(fifo, "");
    EXPECT_FALSE(ReadWholeFile(fifo, read, reason, 1 << 20));
    EXPECT_EQ(reason, "it is larger than 1048576 bytes");
}

} // namespace

#endif
