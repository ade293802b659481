#include "files/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "temp_dir.h"

namespace qx40 {
namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

constexpr uid_t kNobody = 65534;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

// Every path below root, relative to it.
std::set<std::string> AllNames(const fs::path& root) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        names.insert(entry.path().lexically_relative(root).string());
    return names;
}

// Root writes into read-only folders, so these checks run in a thread of
// their own as an ordinary user: the file-system ids are per thread.
bool WriteAsOrdinaryUser(const std::string& path, const std::string& data, std::string& error) {
    bool written = false;
    std::thread([&] {
        if (::geteuid() == 0) {
            ASSERT_EQ(::syscall(SYS_setfsgid, kNobody), 0);
            ::syscall(SYS_setfsuid, kNobody);
            ASSERT_EQ(::syscall(SYS_setfsuid, -1), long{kNobody});
        }
        written = WriteFileAtomically(path, data, error);
    }).join();
    return written;
}

class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : saved_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(saved_); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t saved_;
};

TEST(WriteFileAtomically, NewFileFollowsTheUmask) {
    TempDir dir;
    for (const auto& [mask, mode] :
         {std::pair{0022, 0644}, {0077, 0600}, {0002, 0664}, {0027, 0640}}) {
        const std::string path = dir.File("new-" + std::to_string(mask) + ".qxs");
        std::string error;
        {
            const ScopedUmask umask(static_cast<mode_t>(mask));
            ASSERT_TRUE(WriteFileAtomically(path, "[Common]\n", error)) << error;
        }
        EXPECT_EQ(ModeOf(path), static_cast<mode_t>(mode)) << "umask " << std::oct << mask;
        EXPECT_EQ(dir.Read(fs::path(path).filename()), "[Common]\n");
    }
}

TEST(WriteFileAtomically, ReplacedFileKeepsItsPermissions) {
    TempDir dir;
    const ScopedUmask umask(0022);
    for (const mode_t mode : {0600, 0640, 0664, 0444}) {
        const std::string path = dir.Write("old.ini", "old");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(path, "new", error)) << error;
        EXPECT_EQ(dir.Read("old.ini"), "new");
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"old.ini"})
            << "a temporary file was left";
    }
}

TEST(WriteFileAtomically, ReplacedFileKeepsItsOwner) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file away";
    TempDir dir;
    const std::string path = dir.Write("theirs.qxd", "old");
    ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "new", error)) << error;
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
    EXPECT_EQ(dir.Read("theirs.qxd"), "new");
}

// Saving through a link writes the file it points to; the link stays.
TEST(WriteFileAtomically, FollowsSymbolicLinksToTheirTarget) {
    struct Case {
        const char* name;
        const char* linkPath;    // in the temporary folder
        const char* linkTarget;  // as the link holds it
        const char* finalFile;   // where the data must end up
        bool targetExists;
    };
    for (const Case& c : {
             Case{"same folder", "a/link.qxs", "real.qxs", "a/real.qxs", true},
             Case{"another folder, relative", "a/link.qxs", "../b/real.qxs", "b/real.qxs", true},
             Case{"dangling", "a/link.qxs", "../b/missing.qxs", "b/missing.qxs", false},
             Case{"chain of two", "a/link.qxs", "second.qxs", "b/real.qxs", true},
         }) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::create_directories(dir.Path() / "a");
        fs::create_directories(dir.Path() / "b");
        if (c.targetExists) dir.Write(c.finalFile, "old");
        if (std::string(c.linkTarget) == "second.qxs")
            fs::create_symlink("../b/real.qxs", dir.Path() / "a/second.qxs");
        fs::create_symlink(c.linkTarget, dir.Path() / c.linkPath);
        std::set<std::string> expected = AllNames(dir.Path());
        expected.insert(c.finalFile);

        std::string error;
        ASSERT_TRUE(WriteFileAtomically(dir.File(c.linkPath), "new", error)) << error;
        EXPECT_TRUE(fs::is_symlink(dir.Path() / c.linkPath)) << "the link was replaced";
        EXPECT_EQ(fs::read_symlink(dir.Path() / c.linkPath), c.linkTarget);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.Path() / c.finalFile)));
        EXPECT_EQ(dir.Read(c.finalFile), "new");
        EXPECT_EQ(dir.Read(c.linkPath), "new");
        EXPECT_EQ(AllNames(dir.Path()), expected) << "a temporary file was left";
    }
}

TEST(WriteFileAtomically, LinkLoopIsAnErrorAndChangesNothing) {
    TempDir dir;
    fs::create_symlink("loop-b", dir.Path() / "loop-a");
    fs::create_symlink("loop-a", dir.Path() / "loop-b");
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(dir.File("loop-a"), "new", error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "loop-a"));
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"loop-a", "loop-b"}));
}

// A read-only folder: the reason is reported and everything stays as it was,
// also when the file is reached through a link from a writable folder.
TEST(WriteFileAtomically, ReadOnlyFolderIsAnErrorAndChangesNothing) {
    TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0755), 0);
    fs::create_directories(dir.Path() / "ro");
    fs::create_directories(dir.Path() / "rw");
    dir.Write("ro/data.qxd", "old");
    fs::create_symlink("../ro/data.qxd", dir.Path() / "rw/link.qxd");
    ASSERT_EQ(::chmod((dir.Path() / "ro").c_str(), 0555), 0);
    ASSERT_EQ(::chmod((dir.Path() / "rw").c_str(), 0777), 0);

    for (const char* path : {"ro/data.qxd", "ro/new.qxd", "rw/link.qxd"}) {
        std::string error;
        EXPECT_FALSE(WriteAsOrdinaryUser(dir.File(path), "new", error)) << path;
        EXPECT_EQ(error, std::strerror(EACCES)) << path;
        EXPECT_EQ(dir.Read("ro/data.qxd"), "old") << path;
        EXPECT_EQ(Names(dir.Path() / "ro"), std::set<std::string>{"data.qxd"}) << path;
        EXPECT_EQ(Names(dir.Path() / "rw"), std::set<std::string>{"link.qxd"}) << path;
        EXPECT_TRUE(fs::is_symlink(dir.Path() / "rw/link.qxd")) << path;
    }
    ::chmod((dir.Path() / "ro").c_str(), 0755);  // so that the folder can be removed
}

TEST(WriteFileAtomically, RefusesToReplaceWhatIsNoRegularFile) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    fs::create_directories(dir.Path() / "folder.qxd");
    fs::create_symlink("pipe", dir.Path() / "to-pipe");
    for (const char* name : {"pipe", "folder.qxd", "to-pipe"}) {
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(dir.File(name), "new", error)) << name;
        EXPECT_FALSE(error.empty()) << name;
    }
    EXPECT_TRUE(fs::is_fifo(dir.Path() / "pipe"));
    EXPECT_TRUE(fs::is_directory(dir.Path() / "folder.qxd"));
    EXPECT_TRUE(fs::is_symlink(dir.Path() / "to-pipe"));
    EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"pipe", "folder.qxd", "to-pipe"}));
}

TEST(WriteFileAtomically, MissingFolderIsAnError) {
    TempDir dir;
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(dir.File("no/such/folder.qxs"), "x", error));
    EXPECT_EQ(error, std::strerror(ENOENT));
}

}  // namespace
}  // namespace qx40
