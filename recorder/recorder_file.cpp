#include "recorder/recorder_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace qx40 {
namespace {

class RecorderFile : public RecorderSink {
public:
    explicit RecorderFile(int fd) : fd_(fd) {}
    ~RecorderFile() override {
        if (fd_ >= 0) ::close(fd_);
    }

    int Write(std::span<const std::uint8_t> bytes, std::size_t& written) override {
        written = 0;
        while (written < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.data() + written, bytes.size() - written);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return errno;
            if (n == 0) return EIO;  // a file that takes nothing would loop forever
            written += static_cast<std::size_t>(n);
        }
        return 0;
    }

    // Only the data matters; the size follows it, the times need not.
    int Flush() override { return ::fdatasync(fd_) == 0 ? 0 : errno; }

    int Close() override {
        const int flushed = Flush();
        const int fd = fd_;
        fd_ = -1;
        const int closed = ::close(fd) == 0 ? 0 : errno;
        return flushed ? flushed : closed;
    }

private:
    int fd_;
};

}  // namespace

std::unique_ptr<RecorderSink> OpenRecorderFile(const std::string& path, int& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    return std::make_unique<RecorderFile>(fd);
}

}  // namespace qx40
