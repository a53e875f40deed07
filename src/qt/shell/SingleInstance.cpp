#include "qt/shell/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "app/OpenRequest.h"

namespace zentabo {

namespace {

constexpr char kTaken = 'K';
constexpr char kClosing = 'B';
// A sender that stops halfway is dropped, so it holds no memory for long.
constexpr int kStalledMs = 10000;

}  // namespace

QString InstanceDir() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    QDir().mkpath(dir);
    return dir;
}

SingleInstanceLock::SingleInstanceLock(const QString& name, const QString& dir)
    : path_(QDir(dir.isEmpty() ? InstanceDir() : dir).filePath(name + QLatin1String(".lock"))),
      lock_(std::make_unique<QLockFile>(path_)) {
    // Never consider a live instance's lock stale, however long it runs.
    lock_->setStaleLockTime(0);
}

SingleInstanceLock::~SingleInstanceLock() = default;

bool SingleInstanceLock::Acquire() {
    if (lock_->isLocked()) return true;
    // tryLock removes a lock whose owning process is gone.
    return lock_->tryLock(0);
}

QString SingleInstanceLock::SocketPath() const {
    QString p = path_;
    p.chop(int(sizeof(".lock")) - 1);
    return p + QLatin1String(".sock");
}

InstanceServer::InstanceServer(const QString& socketPath, Handlers handlers, QObject* parent)
    : QObject(parent),
      path_(socketPath),
      handlers_(std::move(handlers)),
      server_(new QLocalServer(this)) {
    // Other users may share the fallback folder: only this user may connect.
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::Accept);
}

InstanceServer::~InstanceServer() {
    Close();
}

bool InstanceServer::Listen() {
    QLocalServer::removeServer(path_);
    return server_->listen(path_);
}

void InstanceServer::Close() {
    if (server_->isListening()) server_->close();
}

void InstanceServer::Accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket] { received_.remove(socket); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        QTimer::singleShot(kStalledMs, socket, [socket] { socket->abort(); });
        Read(socket);
    }
}

void InstanceServer::Read(QLocalSocket* socket) {
    QByteArray& data = received_[socket];
    data += socket->readAll();
    const OpenRequestDecode d = DecodeOpenRequest(std::string_view(data.constData(), data.size()));
    if (d.status == OpenRequestDecode::Status::Incomplete) return;
    received_.remove(socket);
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    if (d.status == OpenRequestDecode::Status::Invalid) {
        socket->abort();
        return;
    }
    const bool accepted = handlers_.accepts && handlers_.accepts();
    // Answered before the files open: opening may ask the user questions, and the
    // sender should not wait for those.
    socket->write(accepted ? &kTaken : &kClosing, 1);
    socket->flush();
    socket->disconnectFromServer();
    if (accepted && handlers_.open) handlers_.open(d.files);
}

HandOverResult HandOver(const QString& socketPath, const std::vector<std::string>& files,
                        int answerMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(1000)) return HandOverResult::NotRunning;
    const std::string message = EncodeOpenRequest(files);
    socket.write(message.data(), qint64(message.size()));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(answerMs))
            return socket.state() == QLocalSocket::ConnectedState ? HandOverResult::NoAnswer
                                                                  : HandOverResult::NotRunning;
    }
    if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(answerMs))
        return socket.state() == QLocalSocket::ConnectedState ? HandOverResult::NoAnswer
                                                              : HandOverResult::NotRunning;
    char answer = 0;
    if (socket.read(&answer, 1) != 1) return HandOverResult::NotRunning;
    return answer == kTaken ? HandOverResult::Delivered : HandOverResult::NotRunning;
}

bool HandOverToRunningInstance(SingleInstanceLock& lock, const std::vector<std::string>& files,
                               int& exitCode) {
    // Long enough for a large page store to be written at close.
    constexpr int kAnswerMs = 30000;
    const QDeadlineTimer deadline(kAnswerMs);
    for (;;) {
        if (lock.Acquire()) return false;
        switch (HandOver(lock.SocketPath(), files, kAnswerMs)) {
            case HandOverResult::Delivered:
                exitCode = 0;
                return true;
            case HandOverResult::NoAnswer:
                std::fprintf(stderr, "zentabo: the running instance does not answer\n");
                exitCode = 1;
                return true;
            case HandOverResult::NotRunning:
                break;
        }
        if (deadline.hasExpired()) {
            std::fprintf(stderr, "zentabo: the running instance neither takes files nor ends\n");
            exitCode = 1;
            return true;
        }
        QThread::msleep(50);
    }
}

}  // namespace zentabo
