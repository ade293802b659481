// One running copy per user: a second copy hands its last argument (a file
// to open) to the running one over a local socket and exits.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace qx40 {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The executable's name followed by "_Mutex_951413_03" and the user id,
    // so two users never meet.
    static QString ServerName(const QString& executableName);

    // Second copy: gives argc and the last argument to the running copy.
    // True when one was running and took them (this process should end).
    static bool HandOver(const QString& serverName, int argumentCount, const QString& lastArgument);

    // First copy: starts listening (only this user may connect).
    bool Listen(const QString& serverName);

signals:
    void HandOverReceived(int argumentCount, const QString& path);

private:
    QLocalServer server_;
};

}  // namespace qx40
