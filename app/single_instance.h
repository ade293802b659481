// One running copy per user: a second copy hands its last argument (a file
// to open) to the running one over a local socket and exits.
//
// The socket is a file in a private runtime folder (runtime_folder.h). Both
// sides check that the other end belongs to the same user before trusting
// it. When the socket cannot be had the program still runs; later copies
// then simply open their files in windows of their own.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace qx40 {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The socket in folder: the executable's name followed by "_Mutex_951413_03".
    static QString SocketPath(const QString& folder, const QString& executableName);

    // Second copy: gives argc and the last argument to the running copy of
    // user. True when one was running and took them (this process should end).
    static bool HandOver(const QString& socketPath, int argumentCount, const QString& lastArgument,
                         uid_t user = ::getuid());

    // user: whom to accept hand-overs from, and whose stale socket may be removed.
    explicit SingleInstance(uid_t user = ::getuid()) : user_(user) {}

    // First copy: starts listening. A socket file left by a copy of ours that
    // ended without removing it is replaced; false (and nothing listening)
    // when the path is taken by anything else or cannot be used.
    bool Listen(const QString& socketPath);

signals:
    void HandOverReceived(int argumentCount, const QString& path);

private:
    void Accept(QLocalSocket* socket);

    uid_t user_;
    QLocalServer server_;
};

}  // namespace qx40
