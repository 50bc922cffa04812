// The program as real processes, its lock in the test's own folder and its message boxes on standard
// error: one copy at a time (the lock of a killed copy is taken over), a termination request ends it as
// Escape does, SONVELA_REPORT_FIRST_PAINT reports the first paint once, and a whole song played in real
// time sends what the toolbox's ticks send.

#include <QDateTime>
#include <QLockFile>
#include <QProcess>

#include "app/program_bench.h"

namespace sonvela::test {
namespace {

// Generous: only a failing run waits this long.
constexpr int kTimeoutMs = 120000;
const QString kAlreadyRunning = QString::fromUtf8("Attenzione! Programma già in esecuzione");

class Process : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }
  // Terminated first: a copy killed while opening its JACK client can leave libjack's database locked.
  void TearDown() override {
    for (QProcess* copy : {&first, &another}) {
      if (copy->state() == QProcess::NotRunning) continue;
      copy->terminate();
      if (!copy->waitForFinished(kTimeoutMs)) {
        copy->kill();
        copy->waitForFinished(kTimeoutMs);
      }
    }
  }
  void Start(QProcess& copy, const QStringList& arguments,
             const std::vector<std::pair<QString, QString>>& variables) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", folder.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("SONVELA_TEST_MESSAGES", "1");
    for (const auto& [name, value] : variables) environment.insert(name, value);
    copy.setProcessEnvironment(environment);
    copy.start(SONVELA_BINARY, arguments);
    ASSERT_TRUE(copy.waitForStarted(kTimeoutMs));
  }
  QString LockPath() const { return folder.path() + "/Sonvela20.exe.lock"; }
  qint64 LockHolder() const {
    qint64 pid = 0;
    QString host, application;
    return QLockFile(LockPath()).getLockInfo(&pid, &host, &application) ? pid : 0;
  }
  // Started once it holds the lock and has painted its window: its devices are open by then.
  void StartFirstCopy(const QStringList& arguments = {},
                      std::vector<std::pair<QString, QString>> variables = {}) {
    variables.emplace_back("SONVELA_REPORT_FIRST_PAINT", "1");
    firstErrors.clear();
    startedAt = static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000;
    Start(first, arguments, variables);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] {
          firstErrors += first.readAllStandardError();
          return LockHolder() == first.processId() && firstErrors.contains("first paint ");
        },
        kTimeoutMs));
  }
  // Runs a copy while the first one holds the lock: it ends by itself with code 0.
  QString SecondCopyMessages(const QStringList& arguments) {
    Start(another, arguments, {});
    EXPECT_TRUE(another.waitForFinished(kTimeoutMs));
    EXPECT_TRUE(another.exitStatus() == QProcess::NormalExit && another.exitCode() == 0);
    const QString errors = QString::fromUtf8(another.readAllStandardError());
    EXPECT_FALSE(errors.contains("first paint")) << errors.toStdString();  // not asked for
    return errors;
  }
  std::string WriteSong(const QString& name, const std::string& bytes) {
    const std::string path = folder.filePath(name).toStdString();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  QTemporaryDir folder;
  QProcess first;
  QProcess another;
  QByteArray firstErrors;  // what the first copy wrote to standard error
  double startedAt = 0;
};

TEST_F(Process, ASecondCopyEndsAtOnceAndWarnsOnlyForAMidiFileAndAKilledCopysLockIsTakenOver) {
  StartFirstCopy();
  EXPECT_TRUE(SecondCopyMessages({"C:\\Music\\Song.MID"}).contains(kAlreadyRunning));
  EXPECT_FALSE(SecondCopyMessages({"song.kar"}).contains(kAlreadyRunning));
  EXPECT_FALSE(SecondCopyMessages({}).contains(kAlreadyRunning));
  EXPECT_EQ(first.state(), QProcess::Running);
  EXPECT_EQ(LockHolder(), first.processId());
  first.kill();
  ASSERT_TRUE(first.waitForFinished(kTimeoutMs));
  ASSERT_TRUE(QFile::exists(LockPath()));  // left behind
  StartFirstCopy();
  EXPECT_TRUE(SecondCopyMessages({"x.mid"}).contains(kAlreadyRunning));
  EXPECT_EQ(first.state(), QProcess::Running);
}

// It shuts down, writes its capture and gives up its lock, with exit code 0; the first paint was reported
// once, with the system time, though the playing song repaints the window all along.
TEST_F(Process, ATerminationRequestEndsTheProgramCleanlyAndTheFirstPaintIsReportedOnce) {
  const std::string song = WriteSong("song.mid", Song(NoteOn(0, 1, 60, 100) + NoteOff(9600, 1, 60)));
  const QString capture = folder.filePath("capture.tsv");
  StartFirstCopy({QString::fromStdString(song)}, {{"SONVELA_CAPTURE", capture}});
  first.terminate();
  ASSERT_TRUE(first.waitForFinished(kTimeoutMs));
  EXPECT_TRUE(first.exitStatus() == QProcess::NormalExit && first.exitCode() == 0);
  EXPECT_TRUE(QFile::exists(capture));
  EXPECT_FALSE(QFile::exists(LockPath()));
  const std::string errors = (firstErrors + first.readAllStandardError()).toStdString();
  EXPECT_EQ(errors.find("Impossibile"), std::string::npos) << errors;
  const size_t report = errors.find("first paint ");
  ASSERT_NE(report, std::string::npos);
  EXPECT_EQ(errors.find("first paint", report + 1), std::string::npos) << errors;
  const double painted = std::stod(errors.substr(report + 12));  // microseconds, the clock here milliseconds
  EXPECT_GE(painted, startedAt - 0.001);
  EXPECT_LE(painted, static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000 + 0.001);
}

// Each line's time in ms and its message.
std::vector<std::pair<double, std::string>> ReadCapture(const QString& path) {
  std::vector<std::pair<double, std::string>> lines;
  std::ifstream in(path.toStdString());
  for (std::string line; std::getline(in, line);)
    lines.emplace_back(std::stod(line), line.substr(line.find('\t') + 1));
  return lines;
}

// The program started on a song plays it to its end and ends by itself (SONVELA_QUIT_AT_END): what it sent
// in real time is what the toolbox's ticks send, in the same order, and nothing went out before its time.
TEST_F(Process, PlaysAWholeSongInRealTimeAsTheTicksPlayIt) {
  // About three seconds on three channels, with programs, controllers, pitch bends, a tempo change halfway.
  std::string tempo = Meta(0, 0x51, Bytes({0x07, 0xA1, 0x20})) + Meta(288, 0x51, Bytes({0x06, 0x1A, 0x80}));
  std::string melody = ProgramEvent(0, 1, 19);
  std::string accompaniment = ProgramEvent(0, 2, 33);
  for (int step = 0; step < 14; ++step) {
    melody += NoteOn(0, 1, 60 + step % 7, 90) + Delta(12) + Bytes({0xE0, 0, 64 + step}) +
              NoteOff(36, 1, 60 + step % 7);
    accompaniment += NoteOn(0, 2, 36 + step % 3, 80) + NoteOn(0, 10, 42, 100) + Delta(24) +
                     Bytes({0xB1, 10, step * 9}) + NoteOff(0, 10, 42) + NoteOff(24, 2, 36 + step % 3);
  }
  const QString song = QString::fromStdString(
      WriteSong("song.mid", Header(1, 3, 96) + Track(tempo + kEndOfTrack) + Track(melody + kEndOfTrack) +
                                Track(accompaniment + kEndOfTrack)));
  const QString ideal = folder.filePath("ideal.tsv");
  QProcess toolbox;
  toolbox.start(SONVELA_CLI_BINARY, {"play", "--fast", "--capture", ideal, song});
  ASSERT_TRUE(toolbox.waitForFinished(kTimeoutMs));
  ASSERT_EQ(toolbox.exitCode(), 0) << toolbox.readAllStandardError().toStdString();

  const QString real = folder.filePath("real.tsv");
  Start(first, {song}, {{"SONVELA_CAPTURE", real}, {"SONVELA_QUIT_AT_END", "1"}});
  ASSERT_TRUE(first.waitForFinished(kTimeoutMs)) << "the program did not end with the song";
  EXPECT_TRUE(first.exitStatus() == QProcess::NormalExit && first.exitCode() == 0);
  const std::string errors = first.readAllStandardError().toStdString();
  EXPECT_EQ(errors.find("Impossibile"), std::string::npos) << errors;
  EXPECT_EQ(errors.find("first paint"), std::string::npos) << errors;

  const auto played = ReadCapture(real), ticked = ReadCapture(ideal);
  ASSERT_GT(ticked.size(), 100u);
  // When the window ends, the program silences every channel once more.
  std::vector<std::string> expected, sent;
  for (const auto& [ms, message] : ticked) expected.push_back(message);
  for (int status = 0xB0; status <= 0xBF; ++status) expected.push_back(std::to_string(status) + "\t123\t0");
  for (const auto& [ms, message] : played) sent.push_back(message);
  ASSERT_EQ(sent, expected);
  // Real time may be late on a busy machine, never early.
  for (size_t i = 0; i < ticked.size(); ++i)
    EXPECT_GE(played[i].first, ticked[i].first) << i << ": " << played[i].second;
}

}  // namespace
}  // namespace sonvela::test
