#include "app/single_instance.h"

#include <unistd.h>

#include <QDataStream>
#include <QLocalSocket>

namespace qx40 {
namespace {

constexpr int kTimeoutMs = 2000;
constexpr qint32 kMaxPathBytes = 64 * 1024;  // a path longer than this is not a path

}  // namespace

QString SingleInstance::ServerName(const QString& executableName) {
    return executableName + QStringLiteral("_Mutex_951413_03_") + QString::number(::getuid());
}

bool SingleInstance::HandOver(const QString& serverName, int argumentCount, const QString& lastArgument) {
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(kTimeoutMs)) return false;
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

bool SingleInstance::Listen(const QString& serverName) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(serverName)) {
        // A copy that crashed leaves its socket file behind.
        QLocalServer::removeServer(serverName);
        if (!server_.listen(serverName)) return false;
    }
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
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
    });
    return true;
}

}  // namespace qx40
