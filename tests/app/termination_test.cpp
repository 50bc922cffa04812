// A termination request ends the running program as Escape does: it shuts down, writes its capture and
// gives up its lock, with exit code 0.

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/program_bench.h"
#include "app/program_process.h"

namespace sonvela::test {
namespace {

constexpr int kTimeoutMs = 30000;

TEST(Termination, EndsTheProgramCleanly) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString song = folder.filePath("song.mid");
  {
    QFile file(song);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(Song(NoteOn(0, 1, 60, 100) + NoteOff(9600, 1, 60))));
  }
  const QString capture = folder.filePath("capture.tsv");
  QProcess program;
  StartProgramProcess(program, folder.path(), {song}, {{"SONVELA_CAPTURE", capture}});
  ASSERT_TRUE(program.waitForStarted(kTimeoutMs));
  // Up and running once it holds the lock.
  ASSERT_TRUE(QTest::qWaitFor([&] { return LockHolder(folder.path()) == program.processId(); }, kTimeoutMs));

  program.terminate();
  ASSERT_TRUE(program.waitForFinished(kTimeoutMs));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  EXPECT_TRUE(QFile::exists(capture));
  EXPECT_FALSE(QFile::exists(LockPathIn(folder.path())));
  EXPECT_EQ(program.readAllStandardError().indexOf("Impossibile"), -1);
}

}  // namespace
}  // namespace sonvela::test
