#pragma once

// The one-instance rule: a per-user lock file named "ztabo". The lock is held for the
// whole run and released when the object dies; a lock left by a crashed process is
// taken over. Beside the lock the running instance listens on a local socket, so a
// later start can hand it the files it was given and end.

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace zentabo {

// The per-user runtime folder that holds the lock and the socket.
QString InstanceDir();

class SingleInstanceLock {
public:
    // dir: where the lock lives; empty means InstanceDir().
    explicit SingleInstanceLock(const QString& name = QStringLiteral("ztabo"),
                                const QString& dir = QString());
    ~SingleInstanceLock();

    // True when this process now holds the lock; false when another instance has it.
    bool Acquire();

    QString LockPath() const { return path_; }
    // The socket of the instance that holds this lock.
    QString SocketPath() const;

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

// The running instance's side. Answers each well-formed request with one byte:
// 'K' once `open` has the files, 'B' while `accepts` says no (the window is closing:
// the sender then waits for the lock). Malformed or stalled connections are dropped.
class InstanceServer : public QObject {
    Q_OBJECT
public:
    struct Handlers {
        std::function<bool()> accepts;
        std::function<void(const std::vector<std::string>& files)> open;
    };
    InstanceServer(const QString& socketPath, Handlers handlers, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Only the lock holder calls this, so a socket left at the path is stale.
    bool Listen();
    // Stops taking connections; later starts then wait for the lock.
    void Close();

private:
    void Accept();
    void Read(QLocalSocket* socket);

    QString path_;
    Handlers handlers_;
    QLocalServer* server_;
    QHash<QLocalSocket*, QByteArray> received_;  // per connection, until it is whole
};

enum class HandOverResult {
    Delivered,   // the running instance has the files
    NotRunning,  // nobody listens, or the instance is closing: try the lock again
    NoAnswer,    // it took the connection but never answered
};

// The later start's side: sends the files (none: only come to the front) and waits
// up to `answerMs` for the answer.
HandOverResult HandOver(const QString& socketPath, const std::vector<std::string>& files,
                        int answerMs);

// Takes the lock, or hands `files` to the instance holding it. While that instance is
// closing, waits for its lock and takes it, so no file is dropped. Returns false when
// this process now holds the lock and runs; true when it should end with `exitCode`
// (0 handed over, 1 with a message on stderr when the other instance never answered).
bool HandOverToRunningInstance(SingleInstanceLock& lock, const std::vector<std::string>& files,
                               int& exitCode);

}  // namespace zentabo
