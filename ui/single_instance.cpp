#include "ui/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString LockPath(const QString& folder) {
    const QString dir = folder.isEmpty() ? InstanceLock::DefaultFolder() : folder;
    return QDir(dir).filePath(QStringLiteral("EX_Mutex"));
}

}  // namespace

InstanceLock::InstanceLock(const QString& folder) : lock_(LockPath(folder)) {
    // The lock lives as long as the program runs; it is never considered stale by age,
    // only when its holder is gone.
    lock_.setStaleLockTime(0);
}

bool InstanceLock::TryAcquire() {
    return lock_.tryLock(0);
}

QString InstanceLock::DefaultFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return folder;
}
