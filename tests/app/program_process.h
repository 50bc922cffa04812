#pragma once
// The program run as its own process, with its lock in the test's own folder and its message boxes on
// standard error.

#include <QLockFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace sonvela::test {

inline QString LockPathIn(const QString& folder) {
  return folder + "/Sonvela20.exe.lock";
}

// The process that the lock file in `folder` names, 0 for none.
inline qint64 LockHolder(const QString& folder) {
  QLockFile lock(LockPathIn(folder));
  qint64 pid = 0;
  QString host;
  QString application;
  return lock.getLockInfo(&pid, &host, &application) ? pid : 0;
}

inline void StartProgramProcess(QProcess& program, const QString& folder, const QStringList& arguments,
                                const std::vector<std::pair<QString, QString>>& variables = {}) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("TMPDIR", folder);
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("SONVELA_TEST_MESSAGES", "1");
  for (const auto& [name, value] : variables) environment.insert(name, value);
  program.setProcessEnvironment(environment);
  program.start(SONVELA_BINARY, arguments);
}

}  // namespace sonvela::test
