#include "qt/shell/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace zentabo {

namespace {

QString DefaultLockDir() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    QDir().mkpath(dir);
    return dir;
}

}  // namespace

SingleInstanceLock::SingleInstanceLock(const QString& name, const QString& dir)
    : path_(QDir(dir.isEmpty() ? DefaultLockDir() : dir).filePath(name + QLatin1String(".lock"))),
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

}  // namespace zentabo
