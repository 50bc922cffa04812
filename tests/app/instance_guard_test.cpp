// The program as real processes: one copy at a time (the second ends at once, the lock of a killed copy is
// taken over), and a termination request ends it as Escape does.

#include "app/program_bench.h"
#include "app/program_process.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace sonvela {
namespace {

constexpr int kTimeoutMs = 30000;
const QString kAlreadyRunning = QString::fromUtf8("Attenzione! Programma già in esecuzione");

class SingleInstance : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
  // A termination request first: a copy killed while it opens its JACK client could leave libjack's
  // database locked for every JACK program of the machine.
  void TearDown() override {
    for (QProcess* copy : {&first_, &another_}) {
      if (copy->state() == QProcess::NotRunning) continue;
      copy->terminate();
      if (!copy->waitForFinished(kTimeoutMs)) {
        copy->kill();
        copy->waitForFinished(kTimeoutMs);
      }
    }
  }

  void Start(QProcess& copy, const QStringList& arguments,
             const std::vector<std::pair<QString, QString>>& variables = {}) {
    test::StartProgramProcess(copy, folder_.path(), arguments, variables);
    ASSERT_TRUE(copy.waitForStarted(kTimeoutMs));
  }
  qint64 LockHolder() const { return test::LockHolder(folder_.path()); }

  // Started once it holds the lock and has painted its window: its devices are open by then.
  void StartFirstCopy(const QStringList& arguments = {},
                      std::vector<std::pair<QString, QString>> variables = {}) {
    variables.emplace_back("SONVELA_REPORT_FIRST_PAINT", "1");
    firstErrors_.clear();
    Start(first_, arguments, variables);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] {
          firstErrors_ += first_.readAllStandardError();
          return LockHolder() == first_.processId() && firstErrors_.contains("first paint ");
        },
        kTimeoutMs));
  }

  // Runs a copy while the first one holds the lock: it must end by itself with code 0.
  QString SecondCopyMessages(const QStringList& arguments) {
    Start(another_, arguments);
    EXPECT_TRUE(another_.waitForFinished(kTimeoutMs));
    EXPECT_EQ(another_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(another_.exitCode(), 0);
    return QString::fromUtf8(another_.readAllStandardError());
  }

  QTemporaryDir folder_;
  QProcess first_;
  QProcess another_;
  QByteArray firstErrors_;  // what the first copy wrote to standard error
};

TEST_F(SingleInstance, ASecondCopyEndsAtOnceAndWarnsOnlyForAMidiFile) {
  StartFirstCopy();
  EXPECT_TRUE(SecondCopyMessages({"C:\\Music\\Song.MID"}).contains(kAlreadyRunning));
  EXPECT_FALSE(SecondCopyMessages({"song.kar"}).contains(kAlreadyRunning));
  EXPECT_FALSE(SecondCopyMessages({}).contains(kAlreadyRunning));
  EXPECT_EQ(first_.state(), QProcess::Running);
  EXPECT_EQ(LockHolder(), first_.processId());
}

TEST_F(SingleInstance, TheLockOfAKilledCopyIsTakenOver) {
  StartFirstCopy();
  first_.kill();
  ASSERT_TRUE(first_.waitForFinished(kTimeoutMs));
  ASSERT_TRUE(QFile::exists(test::LockPathIn(folder_.path())));  // left behind

  StartFirstCopy();
  EXPECT_TRUE(SecondCopyMessages({"x.mid"}).contains(kAlreadyRunning));
  EXPECT_EQ(first_.state(), QProcess::Running);
}

// It shuts down, writes its capture and gives up its lock, with exit code 0.
TEST_F(SingleInstance, ATerminationRequestEndsTheProgramCleanly) {
  const QString song = folder_.filePath("song.mid");
  {
    QFile file(song);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        QByteArray::fromStdString(test::Song(test::NoteOn(0, 1, 60, 100) + test::NoteOff(9600, 1, 60))));
  }
  const QString capture = folder_.filePath("capture.tsv");
  StartFirstCopy({song}, {{"SONVELA_CAPTURE", capture}});
  first_.terminate();
  ASSERT_TRUE(first_.waitForFinished(kTimeoutMs));
  EXPECT_EQ(first_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(first_.exitCode(), 0);
  EXPECT_TRUE(QFile::exists(capture));
  EXPECT_FALSE(QFile::exists(test::LockPathIn(folder_.path())));
  EXPECT_EQ((firstErrors_ + first_.readAllStandardError()).indexOf("Impossibile"), -1);
}

}  // namespace
}  // namespace sonvela
