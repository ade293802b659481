#include "files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace qx40 {
namespace {

// As many links as the kernel follows in a path.
constexpr int kMaxLinkHops = 40;
constexpr int kTempNameTries = 100;

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The file a chain of symbolic links ends in; the path itself when it is
// not a link. The end need not exist.
bool FinalTarget(const std::string& path, std::string& target, std::string& error) {
    std::filesystem::path current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = current.string();
            return true;
        }
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(current, ec);
        if (ec) {
            error = ec.message();
            return false;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    error = std::strerror(ELOOP);
    return false;
}

// Creates "<target>.XXXXXX" for writing only by us. open() applies the umask
// (and a default ACL of the folder) to 0666, as for any new file.
int CreateTemporary(const std::string& target, std::string& temp) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
        temp = target + '.';
        for (int i = 0; i < 6; ++i) temp += kLetters[pick(random)];
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;  // errno is EEXIST
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return false;
    out = std::move(buffer).str();
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view data, std::string& error) {
    std::string target;
    if (!FinalTarget(path, target, error)) return false;
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode)) {
        error = S_ISDIR(existing.st_mode) ? std::strerror(EISDIR) : "Not a regular file";
        return false;
    }

    std::string temp;
    const int fd = CreateTemporary(target, temp);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    if (replacing) {
        // Owner first: a change of owner clears the set-id bits.
        if ((existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
            ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            // Only root gives a file away (and a member its groups): the
            // new copy is then ours, as any new file of ours would be.
        }
        ::fchmod(fd, existing.st_mode & 07777);
    }
    const bool written = WriteAll(fd, data) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    if (::close(fd) != 0 || !written) {
        error = std::strerror(written ? errno : savedErrno);
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        error = std::strerror(errno);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace qx40
