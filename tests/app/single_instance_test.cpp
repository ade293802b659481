// The single-instance service on real sockets in a temporary runtime folder.
// Another user is played by telling a side to trust a user id other than ours.
#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <cstring>
#include <filesystem>

#include "app/runtime_folder.h"
#include "temp_dir.h"

namespace qx40 {
namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;

const uid_t kMe = ::getuid();
const uid_t kSomeoneElse = kMe + 1;

class SingleInstanceTest : public testing::Test {
protected:
    QString Path() const {
        return SingleInstance::SocketPath(QString::fromStdString(dir.Path()), "qx40");
    }
    std::string PathText() const { return Path().toStdString(); }

    TempDir dir;  // private: mkdtemp makes it 0700
};

TEST_F(SingleInstanceTest, SecondCopyHandsItsFileToTheFirst) {
    EXPECT_EQ(Path(), QString::fromStdString(dir.Path().string() + "/qx40_Mutex_951413_03"));
    EXPECT_FALSE(SingleInstance::HandOver(Path(), 1, "nobody.qxs")) << "no copy is running yet";

    SingleInstance first;
    ASSERT_TRUE(first.Listen(Path()));
    struct stat st {};
    ASSERT_EQ(::lstat(PathText().c_str(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u) << "the socket is open to others";

    QSignalSpy received(&first, &SingleInstance::HandOverReceived);
    EXPECT_TRUE(SingleInstance::HandOver(Path(), 2, QStringLiteral("/data/записи/r.qxd")));
    ASSERT_TRUE(received.wait(5000));
    EXPECT_EQ(received.at(0).at(0).toInt(), 2);
    EXPECT_EQ(received.at(0).at(1).toString(), QStringLiteral("/data/записи/r.qxd"));

    EXPECT_TRUE(SingleInstance::HandOver(Path(), 0, QString()));  // no argument: only to the front
    ASSERT_TRUE(received.wait(5000));
    EXPECT_EQ(received.at(1).at(0).toInt(), 0);
    EXPECT_TRUE(received.at(1).at(1).toString().isEmpty());
}

TEST_F(SingleInstanceTest, RunningCopyIgnoresAClientOfAnotherUser) {
    SingleInstance first(kSomeoneElse);
    ASSERT_TRUE(first.Listen(Path()));
    QSignalSpy received(&first, &SingleInstance::HandOverReceived);

    QLocalSocket client;
    QSignalSpy closed(&client, &QLocalSocket::disconnected);
    client.connectToServer(Path());
    ASSERT_TRUE(client.waitForConnected(5000));
    client.write(QByteArray("\x01\0\0\0\x05\0\0\0a.qxs", 13));
    ASSERT_TRUE(closed.wait(5000)) << "the stranger was not sent away";
    QTest::qWait(50);
    EXPECT_EQ(received.count(), 0);
}

TEST_F(SingleInstanceTest, SecondCopyDoesNotHandOverToAnotherUser) {
    SingleInstance first;
    ASSERT_TRUE(first.Listen(Path()));
    QSignalSpy received(&first, &SingleInstance::HandOverReceived);
    EXPECT_FALSE(SingleInstance::HandOver(Path(), 1, "mine.qxd", kSomeoneElse));
    QTest::qWait(50);
    EXPECT_EQ(received.count(), 0);
}

TEST_F(SingleInstanceTest, SocketLeftByACrashedCopyIsReplaced) {
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, PathText().c_str());
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(fd);  // the file stays; nobody answers on it
    }
    SingleInstance first;
    ASSERT_TRUE(first.Listen(Path()));
    QSignalSpy received(&first, &SingleInstance::HandOverReceived);
    EXPECT_TRUE(SingleInstance::HandOver(Path(), 1, "r.qxd"));
    EXPECT_TRUE(received.wait(5000));
}

// The path is taken by something that is not a stale socket of ours: nothing
// listens, nothing is removed, and a running copy there keeps working.
TEST_F(SingleInstanceTest, PathTakenByAnythingElseIsLeftAlone) {
    dir.Write("qx40_Mutex_951413_03", "not a socket");
    EXPECT_FALSE(SingleInstance().Listen(Path()));
    EXPECT_EQ(dir.Read("qx40_Mutex_951413_03"), "not a socket");
    fs::remove(PathText());

    SingleInstance running;
    ASSERT_TRUE(running.Listen(Path()));
    EXPECT_FALSE(SingleInstance().Listen(Path())) << "a live copy's socket was taken over";
    QSignalSpy received(&running, &SingleInstance::HandOverReceived);
    EXPECT_TRUE(SingleInstance::HandOver(Path(), 1, "r.qxd"));
    EXPECT_TRUE(received.wait(5000));
}

TEST_F(SingleInstanceTest, StaleSocketOfAnotherUserIsNotRemoved) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, PathText().c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    EXPECT_FALSE(SingleInstance(kSomeoneElse).Listen(Path()));
    EXPECT_TRUE(fs::is_socket(PathText()));
}

TEST_F(SingleInstanceTest, UnusablePathMeansNoListenerAndNoHandOver) {
    for (const QString& path :
         {QString::fromStdString(dir.File("missing/folder/qx40")),
          QString::fromStdString(dir.File(std::string(200, 'x'))), QString()}) {
        SingleInstance instance;
        EXPECT_FALSE(instance.Listen(path)) << path.toStdString();
        EXPECT_FALSE(SingleInstance::HandOver(path, 1, "r.qxd")) << path.toStdString();
    }
}

TEST(RuntimeFolder, TheUsersRuntimeFolderWhenItIsPrivate) {
    TempDir runtime;
    TempDir temp;
    EXPECT_EQ(RuntimeFolder(runtime.Path().c_str(), temp.Path(), kMe), runtime.Path().string());
    EXPECT_TRUE(fs::is_empty(temp.Path()));
}

TEST(RuntimeFolder, AFolderOfOurOwnOtherwise) {
    TempDir runtime;
    ASSERT_EQ(::chmod(runtime.Path().c_str(), 0750), 0);  // group may look in
    TempDir temp;
    const std::string own = temp.Path().string() + "/qx40-" + std::to_string(kMe);
    for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative/run",
                            runtime.Path().c_str(), "/no/such/folder"}) {
        EXPECT_EQ(RuntimeFolder(xdg, temp.Path(), kMe), own) << (xdg ? xdg : "(unset)");
        struct stat st {};
        ASSERT_EQ(::lstat(own.c_str(), &st), 0);
        EXPECT_TRUE(S_ISDIR(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
}

TEST(RuntimeFolder, NeverAFolderOfAnotherUser) {
    TempDir runtime;  // private, but ours, not theirs
    TempDir temp;
    EXPECT_EQ(RuntimeFolder(runtime.Path().c_str(), temp.Path(), kSomeoneElse), std::nullopt);
}

// What sits where our own folder belongs and is not private makes us go
// without a single instance rather than use it.
TEST(RuntimeFolder, RefusesAnOwnFolderThatIsNotPrivate) {
    struct Case {
        const char* what;
        void (*make)(const std::string& own, const std::string& elsewhere);
    };
    for (const Case& c : {
             Case{"a link to a private folder",
                  [](const std::string&own, const std::string&elsewhere) {
                      fs::create_symlink(elsewhere, own);
                  }},
             Case{"open to others",
                  [](const std::string&own, const std::string&) {
                      fs::create_directory(own);
                      ::chmod(own.c_str(), 0755);
                  }},
             Case{"a file",
                  [](const std::string&own, const std::string&) { std::ofstream(own) << "x"; }},
         }) {
        TempDir temp;
        TempDir elsewhere;
        const std::string own = temp.Path().string() + "/qx40-" + std::to_string(kMe);
        c.make(own, elsewhere.Path());
        EXPECT_EQ(RuntimeFolder(nullptr, temp.Path(), kMe), std::nullopt) << c.what;
    }
}

}  // namespace
}  // namespace qx40
