// One copy at a time, with real processes of the program: the second ends at once, the lock of a killed
// copy is taken over.

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
  void TearDown() override {
    for (QProcess* copy : {&first_, &another_}) {
      if (copy->state() != QProcess::NotRunning) {
        copy->kill();
        copy->waitForFinished(kTimeoutMs);
      }
    }
  }

  void Start(QProcess& copy, const QStringList& arguments) {
    test::StartProgramProcess(copy, folder_.path(), arguments);
    ASSERT_TRUE(copy.waitForStarted(kTimeoutMs));
  }
  qint64 LockHolder() const { return test::LockHolder(folder_.path()); }

  void StartFirstCopy() {
    Start(first_, {});
    ASSERT_TRUE(QTest::qWaitFor([this] { return LockHolder() == first_.processId(); }, kTimeoutMs));
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

}  // namespace
}  // namespace sonvela
