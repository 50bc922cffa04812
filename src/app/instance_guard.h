#pragma once
// Only one copy of the program runs: the first holds a lock file in the temporary folder for its whole
// life. A lock left behind by a copy that was killed is taken over (the lock file names its process).

#include <QLockFile>
#include <QString>

namespace sonvela {

class InstanceGuard {
 public:
  // "Sonvela20.exe.lock" in the temporary folder.
  static QString LockPath();

  explicit InstanceGuard(const QString& path = LockPath());
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  // True when this process is now the one running copy; it stays so while the guard lives.
  bool Acquire();

 private:
  QLockFile lock_;
};

}  // namespace sonvela
