#include "app/single_instance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <QDataStream>
#include <QFile>
#include <QLocalSocket>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

namespace qx40 {
namespace {

constexpr int kTimeoutMs = 2000;
constexpr qint32 kMaxPathBytes = 64 * 1024;  // a path longer than this is not a path
constexpr int kBacklog = 8;

// The user at the other end of a connected local socket.
std::optional<uid_t> PeerUser(qintptr descriptor) {
    ucred peer{};
    socklen_t length = sizeof peer;
    if (::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0)
        return std::nullopt;
    return peer.uid;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

bool AddressOf(const QByteArray& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return true;
}

// A new socket bound to address, or -1 with the reason in error.
int Bind(const sockaddr_un& address, int& error) {
    Descriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.Get() < 0 ||
        ::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = errno;
        return -1;
    }
    return fd.Release();
}

// A socket file of user's that nobody listens on any more: a copy that
// crashed left it behind.
bool IsStaleSocket(const sockaddr_un& address, uid_t user) {
    struct stat st {};
    if (::lstat(address.sun_path, &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != user)
        return false;
    // Not blocking: a live copy with a full queue answers EAGAIN, not "refused".
    const Descriptor probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    return probe.Get() >= 0 &&
           ::connect(probe.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) !=
               0 &&
           errno == ECONNREFUSED;
}

}  // namespace

QString SingleInstance::SocketPath(const QString& folder, const QString& executableName) {
    return folder + QLatin1Char('/') + executableName + QStringLiteral("_Mutex_951413_03");
}

bool SingleInstance::HandOver(const QString& socketPath, int argumentCount,
                              const QString& lastArgument, uid_t user) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kTimeoutMs)) return false;
    if (PeerUser(socket.socketDescriptor()) != user) {
        socket.abort();  // someone else's: nothing of ours goes there
        return false;
    }
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const QByteArray path = lastArgument.toUtf8();
    out << qint32(argumentCount) << qint32(path.size());
    out.writeRawData(path.constData(), static_cast<int>(path.size()));
    socket.write(message);
    socket.waitForBytesWritten(kTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::Listen(const QString& socketPath) {
    sockaddr_un address{};
    if (server_.isListening() || !AddressOf(QFile::encodeName(socketPath), address)) return false;
    int error = 0;
    int fd = Bind(address, error);
    if (fd < 0 && error == EADDRINUSE && IsStaleSocket(address, user_) &&
        ::unlink(address.sun_path) == 0)
        fd = Bind(address, error);
    if (fd < 0) return false;
    // The folder is private already; the socket itself is the user's alone too.
    ::chmod(address.sun_path, S_IRUSR | S_IWUSR);
    if (::listen(fd, kBacklog) != 0 || !server_.listen(fd)) {
        ::close(fd);
        ::unlink(address.sun_path);
        return false;
    }
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) Accept(socket);
    });
    return true;
}

void SingleInstance::Accept(QLocalSocket* socket) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (PeerUser(socket->socketDescriptor()) != user_) {
        socket->abort();  // another user's: not a word of it is read
        socket->deleteLater();
        return;
    }
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (socket->bytesAvailable() < 8) return;
        QDataStream in(socket->peek(8));
        in.setByteOrder(QDataStream::LittleEndian);
        qint32 argc = 0, length = 0;
        in >> argc >> length;
        if (length < 0 || length > kMaxPathBytes) {
            socket->abort();
            return;
        }
        if (socket->bytesAvailable() < 8 + length) return;
        socket->read(8);
        const QString path = QString::fromUtf8(socket->read(length));
        socket->disconnectFromServer();
        emit HandOverReceived(argc, path);
    });
}

}  // namespace qx40
