#pragma once

// The one-instance rule: a per-user lock file named "ztabo". The lock is held for the
// whole run and released when the object dies; a lock left by a crashed process is
// taken over.

#include <QString>
#include <memory>

class QLockFile;

namespace zentabo {

class SingleInstanceLock {
public:
    // dir: where the lock lives; empty means the per-user runtime folder.
    explicit SingleInstanceLock(const QString& name = QStringLiteral("ztabo"),
                                const QString& dir = QString());
    ~SingleInstanceLock();

    // True when this process now holds the lock; false when another instance has it.
    bool Acquire();

    QString LockPath() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace zentabo
