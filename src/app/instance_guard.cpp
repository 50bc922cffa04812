#include "app/instance_guard.h"

#include <QDir>

namespace sonvela {

QString InstanceGuard::LockPath() {
  return QDir::temp().filePath(QStringLiteral("Sonvela20.exe.lock"));
}

InstanceGuard::InstanceGuard(const QString& path) : lock_(path) {
  // The lock is held for as long as the program runs, so its age says nothing; only a lock whose process
  // is gone counts as stale.
  lock_.setStaleLockTime(0);
}

bool InstanceGuard::Acquire() {
  return lock_.isLocked() || lock_.tryLock(0);
}

}  // namespace sonvela
