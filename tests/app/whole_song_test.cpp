// The program itself, started as a user starts it on a song, plays the song through to its end and ends by
// itself (SONVELA_QUIT_AT_END): what it sent in real time is what the toolbox's ticks send for the same
// song, in the same order, and nothing went out before its time.

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/program_bench.h"
#include "app/program_process.h"

namespace sonvela::test {
namespace {

// Generous: only a failing run waits this long.
constexpr int kTimeoutMs = 120000;

struct CaptureLine {
  double ms = 0;
  std::string message;  // status, data 1, data 2
};

std::vector<CaptureLine> ReadCapture(const QString& path) {
  std::vector<CaptureLine> lines;
  std::ifstream in(path.toStdString());
  for (std::string line; std::getline(in, line);) {
    const size_t tab = line.find('\t');
    lines.push_back({std::stod(line.substr(0, tab)), line.substr(tab + 1)});
  }
  return lines;
}

std::vector<std::string> Messages(const std::vector<CaptureLine>& lines) {
  std::vector<std::string> messages;
  for (const CaptureLine& line : lines) messages.push_back(line.message);
  return messages;
}

// About three seconds on three channels, with what a song sends besides notes: programs, controllers,
// pitch bends, and a tempo change halfway.
std::string ThreeSecondSong() {
  std::string tempo = Meta(0, 0x51, Bytes({0x07, 0xA1, 0x20}));  // 120 BPM
  tempo += Meta(288, 0x51, Bytes({0x06, 0x1A, 0x80}));           // 150 BPM
  std::string melody = ProgramEvent(0, 1, 19);
  std::string accompaniment = ProgramEvent(0, 2, 33);
  for (int step = 0; step < 14; ++step) {
    melody += NoteOn(0, 1, 60 + step % 7, 90) + Delta(12) + Bytes({0xE0, 0, 64 + step}) +
              NoteOff(36, 1, 60 + step % 7);
    accompaniment += NoteOn(0, 2, 36 + step % 3, 80) + NoteOn(0, 10, 42, 100) + Delta(24) +
                     Bytes({0xB1, 10, step * 9}) + NoteOff(0, 10, 42) + NoteOff(24, 2, 36 + step % 3);
  }
  return Header(1, 3, 96) + Track(tempo + kEndOfTrack) + Track(melody + kEndOfTrack) +
         Track(accompaniment + kEndOfTrack);
}

TEST(WholeSong, PlaysInRealTimeWhatTheTicksPlay) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString song = folder.filePath("song.mid");
  { std::ofstream(song.toStdString(), std::ios::binary) << ThreeSecondSong(); }

  const QString ideal = folder.filePath("ideal.tsv");
  QProcess toolbox;
  toolbox.start(SONVELA_CLI_BINARY, {"play", "--fast", "--capture", ideal, song});
  ASSERT_TRUE(toolbox.waitForFinished(kTimeoutMs));
  ASSERT_EQ(toolbox.exitCode(), 0) << toolbox.readAllStandardError().toStdString();

  const QString real = folder.filePath("real.tsv");
  QProcess program;
  StartProgramProcess(program, folder.path(), {song},
                      {{"SONVELA_CAPTURE", real}, {"SONVELA_QUIT_AT_END", "1"}});
  ASSERT_TRUE(program.waitForStarted(kTimeoutMs));
  const bool ended = program.waitForFinished(kTimeoutMs);
  if (!ended) {
    program.kill();
    program.waitForFinished(kTimeoutMs);
  }
  ASSERT_TRUE(ended) << "the program did not end with the song";
  const std::string errors = program.readAllStandardError().toStdString();
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 0);
  EXPECT_EQ(errors.find("Impossibile"), std::string::npos) << errors;

  const std::vector<CaptureLine> played = ReadCapture(real);
  const std::vector<CaptureLine> ticked = ReadCapture(ideal);
  ASSERT_GT(ticked.size(), 100u);
  // When the window ends, the program silences every channel once more.
  std::vector<std::string> expected = Messages(ticked);
  for (int status = 0xB0; status <= 0xBF; ++status) expected.push_back(std::to_string(status) + "\t123\t0");
  ASSERT_EQ(Messages(played), expected);
  // Real time may be late on a busy machine, never early.
  for (size_t i = 0; i < ticked.size(); ++i) {
    EXPECT_GE(played[i].ms, ticked[i].ms) << "message " << i << ": " << played[i].message;
  }
}

}  // namespace
}  // namespace sonvela::test
