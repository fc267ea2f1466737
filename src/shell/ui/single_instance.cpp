#include "shell/ui/single_instance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace velq::ui {

SingleInstanceGuard::SingleInstanceGuard(const QString& lock_path)
    : lock_(std::make_unique<QLockFile>(lock_path)) {
    // Never treat a live instance's lock as stale, however long it runs.
    lock_->setStaleLockTime(0);
}

SingleInstanceGuard::~SingleInstanceGuard() = default;

bool SingleInstanceGuard::TryAcquire() {
    if (lock_->isLocked()) {
        return true;
    }
    return lock_->tryLock(0);
}

QString SingleInstanceGuard::DefaultLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return QDir(folder).filePath(QStringLiteral("velq540b.lock"));
}

}  // namespace velq::ui
