// The window's arithmetic and files without a window, and the line lists behind the list views.

#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>

#include "app/command_line.h"
#include "app/control_style.h"
#include "app/line_list_model.h"
#include "app/line_list_view.h"
#include "app/listing_file.h"
#include "app/main_layout.h"
#include "app/platform_lines.h"
#include "app/program_bench.h"
#include "app/program_output.h"
#include "text/line_list.h"
#include "text/logs.h"

namespace sonvela::test {
namespace {

using ::testing::ElementsAre;

TEST(MainLayout, RoundsRowHeightsToTheEvenNeighbourOnATieAndKeepsKeyboardsWhole) {
  EXPECT_EQ(MainLayout::Compute(1024, 760).RowHeight, 28);  // 28.5
  EXPECT_EQ(MainLayout::Compute(1024, 840).RowHeight, 32);  // 31.5
  EXPECT_EQ(MainLayout::Compute(1024, 800).RowHeight, 30);
  for (const auto& [a, b, ratio] : {std::tuple{5, 2, 2}, {7, 2, 4}, {-5, 2, -2}, {-7, 2, -4}})
    EXPECT_EQ(RoundRatio(a, b), ratio) << a << "/" << b;
  for (int width = 640; width <= 4000; width += 37) {
    const MainLayout layout = MainLayout::Compute(width, 700);
    EXPECT_EQ((layout.KeyboardWidth - 1) % 63, 0) << width;
    EXPECT_EQ((layout.KeyboardWindowWidth - 1) % 63, 0) << width;
    EXPECT_LE(layout.KeyboardWindowWidth, width + 1) << width;
  }
}

// Down to 1024 x 600 and below, every part stays whole and apart: the channel rows give way.
TEST(MainLayout, BelowAbout768PixelsTheChannelRowsGiveWayAndTheRestStaysWholeAndApart) {
  for (const int width : {1024, 1366}) {
    for (int height = 520; height <= 1200; height += 7) {
      const MainLayout layout = MainLayout::Compute(width, height);
      const auto rect = [&](int id) { return *MainControlRect(id, layout); };
      const auto bottom = [&](int id) { return rect(id).y + rect(id).height; };
      SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
      EXPECT_LE(bottom(kMessageLogList), kFirstRowTop);
      EXPECT_LE(layout.RowsEnd(), rect(kCancelLoopButton).y);
      EXPECT_EQ(rect(kInfoLabel).y, rect(kCancelLoopButton).y);
      EXPECT_LE(bottom(kCancelLoopButton), rect(kLyricPanel).y);
      EXPECT_LT(bottom(kLyricPanel), rect(kLoopBar).y);
      EXPECT_LE(bottom(kLoopBar), rect(kSongMap).y);
      EXPECT_LE(bottom(kSongMap), height);
      EXPECT_EQ(std::pair(rect(kLyricPanel).height, rect(kSongMap).height), std::pair(40, 90));
      // Where there is room (from 768 pixels up), the rows keep their share of the height.
      EXPECT_TRUE(height < 768 || layout.RowHeight == RoundRatio(height * 6LL, 160));
    }
  }
}

TEST(CommandLine, ArgumentsMakeOneSongPathWithoutQuotesAndOnlyAMidiFileWarnsASecondCopy) {
  EXPECT_EQ(SongFromArguments(ArgumentsText({})), "");
  EXPECT_EQ(SongFromArguments(ArgumentsText({"\"C:\\My Songs\\Tune.kar\""})), "C:\\My Songs\\Tune.kar");
  EXPECT_EQ(SongFromArguments(ArgumentsText({"/music/My", "Song.mid"})), "/music/My Song.mid");
  EXPECT_EQ(SongFromArguments("\"a\"b\""), "ab");
  for (const auto& [text, midi] : {std::pair{"/music/Song.MID", true},
                                   {"\"x.mid\"", true},
                                   {"a.midi b", true},
                                   {"/music/Song.kar", false},
                                   {"", false}})
    EXPECT_EQ(NamesMidiFile(text), midi) << text;
}

TEST(Files, ListingNameSongNamesAndCapture) {
  for (const auto& [song, listing] : {std::pair{"Tune.Mid", "tune.txt"},
                                      {"song.kar", "song.kar.txt"},
                                      {"/Music/Old.MID/A.mid.MID", "/Music/Old.MID/a.txt"},
                                      {"/Music/Città.MID", "/Music/città.txt"},
                                      {"x.midi", "xi.txt"}})
    EXPECT_EQ(ListingFileName(song), listing) << song;
  // .mid then .kar files, in any case, up to ten thousand.
  EXPECT_THAT(SongFileNames({"b.KAR", "a.Mid", "c.mid.txt", ".mid", "x.kar", "y.mi"}),
              ElementsAre("a.Mid", ".mid", "b.KAR", "x.kar"));
  std::vector<std::string> many;
  for (int i = 0; i < 10005; ++i) many.push_back(std::to_string(i) + (i % 2 == 0 ? ".kar" : ".mid"));
  const std::vector<std::string> taken = SongFileNames(many);
  ASSERT_EQ(taken.size(), 10000u);
  EXPECT_EQ(taken.front(), "1.mid");
  EXPECT_EQ(taken[5002], "0.kar");

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
  // On disk while the file is still open: a killed program leaves what it had played.
  EXPECT_EQ(onDisk(), "0.000\t144\t60\t127\n");
  ASSERT_TRUE(capture.Close({{12.3456, 0x40B0}}, error));
  EXPECT_EQ(onDisk(), "0.000\t144\t60\t127\n12.346\t176\t64\t0\n");
  EXPECT_FALSE(CaptureFile().Create(folder.path().toStdString(), error));
  EXPECT_EQ(error, "Is a directory");
}

TEST(NamedOutput, OpensThePortOfThatNameAsTheDefault) {
  RecordingMidiOut ports;
  ports.DeviceNames = {"Synth", "Port A", "Port B"};
  std::vector<std::string> log;
  const auto logLine = [&log](const std::string& line) { log.push_back(line); };
  for (const char* name : {"Port B", " 1 Port A", "1 Port A"}) {
    NamedDefaultMidiOut named(ports, name, logLine);
    EXPECT_EQ(named.Open(kDefaultMidiOut), kMidiOutOk) << name;
    EXPECT_EQ(named.Open(0), kMidiOutOk);
  }
  EXPECT_THAT(ports.Calls, ElementsAre("open 2", "open 0", "open 1", "open 0", "open 1", "open 0"));
  NamedDefaultMidiOut missing(ports, "Synth", logLine);
  EXPECT_NE(missing.Open(kDefaultMidiOut), kMidiOutOk);
  EXPECT_THAT(log, ElementsAre("SONVELA_MIDI_OUT: no MIDI output port named \"Synth\""));
}

// Every platform line goes to Debug; the first "no sound" also where the user looks.
TEST(PlatformLines, EveryLineGoesToDebugAndTheFirstNoSoundAlsoToTheMessageLog) {
  Logs logs;
  PlatformLines lines;
  const std::vector<std::string> taken = {
      "Built-in synth: SoundFont /x.sf2 loaded in 140 ms",
      "Built-in synth: no audio output could be opened (pulseaudio: not available; alsa: no card), no sound",
      "MIDI ports: the song's sends run at normal priority (not permitted)",
      "Built-in synth: no audio output could be opened (alsa: no card), no sound"};
  for (const std::string& line : taken) lines.Take(logs, line);
  EXPECT_EQ(logs.Debug.ToVector(), taken);
  EXPECT_EQ(logs.Messages.ToVector(), std::vector<std::string>{taken[1]});
}

QString Row(const LineListModel& model, int row) {
  return model.data(model.index(row), Qt::DisplayRole).toString();
}

TEST(LineListModel, ShowsTheLinesOfALineListAndFollowsItsGrowth) {
  LineList lines;
  lines.Append("first");
  lines.Append("second");
  LineListModel model;
  model.Show(lines);
  ASSERT_EQ(model.rowCount(), 2);
  EXPECT_EQ(Row(model, 1), "second");
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
  lines.Append("third");
  lines.Append("fourth");
  EXPECT_EQ(model.rowCount(), 2);  // the view learns of new lines when told
  model.Refresh();
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted[0][1].toInt(), 2);
  EXPECT_EQ(inserted[0][2].toInt(), 3);
  EXPECT_EQ(reset.count(), 0);
  EXPECT_EQ(Row(model, 3), "fourth");
  // Cleared (a log's "RESET") and written again: the view starts over.
  lines.Clear();
  lines.Append("again");
  model.Refresh();
  EXPECT_EQ(reset.count(), 1);
  ASSERT_EQ(model.rowCount(), 1);
  EXPECT_EQ(Row(model, 0), "again");
  lines.Clear();  // behind the view's back: rows it still knows of read as empty, never out of range
  EXPECT_EQ(Row(model, 0), "");
}

// A list of millions of lines written on demand, as the event table is, counting what is read.
struct CountingLines {
  size_t lines = 3'200'000;
  mutable size_t reads = 0;
  size_t Size() const { return lines; }
  std::string operator[](size_t index) const {
    ++reads;
    return "line " + std::to_string(index) + "\x05" + "end";
  }
};

TEST(LineListView, MillionsOfLinesOpenGrowAndScrollReadingOnlyTheRowsInView) {
  CountingLines source;
  QWidget window;
  window.resize(800, 600);
  LineListView view({kBlack, kWhite, MakeFont(14, 8), 3000, false}, &window);
  view.setGeometry(0, 0, 800, 600);
  view.Show(source);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const int rowsInView = view.viewport()->height() / view.RowHeight();
  const auto readsOnlyRowsInView = [&] {
    view.viewport()->repaint();
    const bool fewReads = source.reads > 0 && source.reads <= static_cast<size_t>(2 * rowsInView + 2);
    source.reads = 0;
    return fewReads;
  };
  EXPECT_TRUE(readsOnlyRowsInView());
  // To the end with the keyboard: the last line is current and in view.
  view.setFocus();
  QTest::keyClick(&view, Qt::Key_End);
  EXPECT_TRUE(readsOnlyRowsInView());
  EXPECT_EQ(view.currentIndex().row(), 3'199'999);
  EXPECT_EQ(view.indexAt(view.visualRect(view.currentIndex()).center()).row(), 3'199'999);
  EXPECT_EQ(Row(view.Model(), 3'199'999), "line 3199999 end");  // the column separator shows as a blank
  // Growing by a thousand lines: the view learns of them without reading the others.
  source.lines += 1000;
  view.Refresh();
  view.SelectLast();
  EXPECT_TRUE(readsOnlyRowsInView());
  EXPECT_EQ(view.model()->rowCount(), 3'201'000);
  EXPECT_EQ(view.TopRow(), 3'201'000 - rowsInView);
  // The horizontal scroll bar covers the scroll extent; a page is the rows in view.
  EXPECT_EQ(view.horizontalScrollBar()->maximum(), 3000 - view.viewport()->width());
  QTest::keyClick(&view, Qt::Key_PageUp);
  EXPECT_EQ(view.currentIndex().row(), 3'201'000 - 1 - rowsInView);
}

}  // namespace
}  // namespace sonvela::test
