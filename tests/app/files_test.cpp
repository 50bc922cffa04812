// The files the program reads and writes besides songs: the saved listing, the song list's names, the
// capture; and the output chosen by name.

#include <QFile>

#include "app/listing_file.h"
#include "app/program_bench.h"
#include "app/program_output.h"

namespace sonvela::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(ListingFile, IsTheSongsNameLowerCasedWithoutMidInTheSongsFolder) {
  EXPECT_EQ(ListingFileName("Tune.Mid"), "tune.txt");
  EXPECT_EQ(ListingFileName("song.kar"), "song.kar.txt");
  EXPECT_EQ(ListingFileName("/Music/Old.MID/A.mid.MID"), "/Music/Old.MID/a.txt");
  EXPECT_EQ(ListingFileName("/Music/Città.MID"), "/Music/città.txt");
  EXPECT_EQ(ListingFileName("x.midi"), "xi.txt");
}

TEST(SongFiles, TakeMidThenKarFilesInAnyCaseUpToTenThousand) {
  EXPECT_THAT(SongFileNames({"b.KAR", "a.Mid", "c.mid.txt", ".mid", "x.kar", "y.mi"}),
              ElementsAre("a.Mid", ".mid", "b.KAR", "x.kar"));
  std::vector<std::string> many;
  for (int i = 0; i < 10005; ++i) many.push_back(std::to_string(i) + (i % 2 == 0 ? ".kar" : ".mid"));
  const std::vector<std::string> taken = SongFileNames(many);
  ASSERT_EQ(taken.size(), 10000u);
  EXPECT_EQ(taken.front(), "1.mid");
  EXPECT_EQ(taken[5002], "0.kar");
}

using SavedListing = ProgramBench;

TEST_F(SavedListing, HoldsEveryListingLineEndedByCrLfAndAFailureSaysWhy) {
  QDir(folder.path()).mkdir("Sub Dir");
  Write("Sub Dir/Tune.Mid", Song(NoteOn(0, 1, 60, 100) + NoteOff(96, 1, 60)));
  StartProgram();
  // Nothing loaded: nothing to save.
  Click(kSaveListingButton);
  EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());

  chosen = folder.filePath("Sub Dir/Tune.Mid");
  Click(kLoadButton);
  Click(kSaveListingButton);
  QFile saved(folder.filePath("Sub Dir/tune.txt"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const QByteArray bytes = saved.readAll();
  const LineList& lines = program->Document().Listing.Lines;
  ASSERT_GT(lines.Size(), 5u);
  std::string expected;
  for (size_t i = 0; i < lines.Size(); ++i) expected.append(lines[i]).append("\r\n");
  EXPECT_EQ(bytes.toStdString(), expected);
  EXPECT_THAT(messages.shown, IsEmpty());

  saved.remove();
  QDir(folder.filePath("Sub Dir")).mkdir("tune.txt");
  Click(kSaveListingButton);
  EXPECT_THAT(messages.shown,
              ElementsAre("Impossibile scrivere il file \"" +
                          folder.filePath("Sub Dir/tune.txt").toStdString() + "\": Is a directory"));
}

TEST(NamedOutput, OpensThePortOfThatNameAsTheDefault) {
  RecordingMidiOut ports;
  ports.DeviceNames = {"Synth", "Port A", "Port B"};
  std::vector<std::string> log;
  for (const char* name : {"Port B", " 1 Port A", "1 Port A"}) {
    NamedDefaultMidiOut named(ports, name, [&log](const std::string& line) { log.push_back(line); });
    EXPECT_EQ(named.Open(kDefaultMidiOut), kMidiOutOk) << name;
    EXPECT_EQ(named.Open(0), kMidiOutOk);
  }
  EXPECT_THAT(ports.Calls, ElementsAre("open 2", "open 0", "open 1", "open 0", "open 1", "open 0"));
  NamedDefaultMidiOut missing(ports, "Synth", [&log](const std::string& line) { log.push_back(line); });
  EXPECT_NE(missing.Open(kDefaultMidiOut), kMidiOutOk);
  EXPECT_THAT(log, ElementsAre("SONVELA_MIDI_OUT: no MIDI output port named \"Synth\""));
}

TEST(CaptureFile, GrowsAsPlayingGoesOneLinePerMessageAndAFailureSaysWhy) {
  QTemporaryDir folder;
  const std::string path = folder.filePath("capture.tsv").toStdString();
  const auto onDisk = [&path] {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
  };
  std::string error;
  CaptureFile capture;
  ASSERT_TRUE(capture.Create(path, error));
  ASSERT_TRUE(capture.Append({{0, 0x7F3C90}}, error));
  // Already on disk, while the file is still open: a killed program leaves it.
  EXPECT_EQ(onDisk(), "0.000\t144\t60\t127\n");
  ASSERT_TRUE(capture.Close({{12.3456, 0x40B0}}, error));
  EXPECT_EQ(onDisk(), "0.000\t144\t60\t127\n12.346\t176\t64\t0\n");
  EXPECT_FALSE(CaptureFile().Create(folder.path().toStdString(), error));
  EXPECT_EQ(error, "Is a directory");
}

}  // namespace
}  // namespace sonvela::test
