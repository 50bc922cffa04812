// The program on its real windows: start-up, the ways a song is chosen and played, the controls, what
// playback shows, the output switch, and the end.

#include <QComboBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>

#include <cstdlib>

#include "app/program_bench.h"
#include "views/channel_displays.h"
#include "views/lyric_line.h"
#include "views/pixels.h"
#include "views/song_panels.h"

namespace sonvela::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Channel 1 with program 5 and a note at the start, a drum on channel 10 half a second in; 2 s long.
const std::string kTwoChannels = Song(ProgramEvent(0, 1, 5) + NoteOn(0, 1, 60, 100) + NoteOff(96, 1, 60) +
                                      NoteOn(0, 10, 36, 80) + NoteOff(96, 10, 36) + Meta(192, 0x01, "end"));
const std::string kOtherSong = Song(NoteOn(0, 2, 64, 90) + NoteOff(96, 2, 64));

using Program = ProgramBench;

TEST_F(Program, StartsMaximisedWithTheOutputOpenTheClockRunningAndTheFolderListed) {
  for (const char* name : {"b.mid", "Piece.MID", "a.kar", "notes.txt", "c.KAR", "mid"})
    Write(name, kTwoChannels);
  QDir(folder.path()).mkdir("folder.mid");
  MakeProgram();
  EXPECT_EQ(Main().BaseTitle(), "Sonvela 1.06 Quarzani Teodolfo fecit! (1024 x 768) ");
  Click(kDebugToggle);
  StartProgram();
  Pin("started");  // nothing plays until a song is chosen
  EXPECT_EQ(program->TheLogs().Debug[0], "Numero devices Midi Out: 1");
  const QAbstractItemView* debug = Windows().List(kDebugLogList);
  EXPECT_EQ(std::pair(debug->model()->rowCount(), debug->currentIndex().row()), std::pair(1, 0));
  QComboBox* instruments = Windows().InstrumentList();
  ASSERT_EQ(instruments->count(), 128);
  EXPECT_EQ(instruments->currentText(), "19 Rock Organ");
  for (const char* name : {"1 Acoustic Grand", "22 Accoridan", "24 Tango Accordian", "128 Gunshot"})
    EXPECT_EQ(instruments->itemText(std::atoi(name) - 1), name);
  // Laid out again for the client area it got, every picture drawn at its new size.
  EXPECT_EQ(QSize(Main().Layout().ClientWidth, Main().Layout().ClientHeight), Main().size());
  for (const ControlMap::Entry& entry : Windows().Controls().Entries())
    EXPECT_TRUE(entry.control->window() != &Main() || Main().rect().contains(entry.control->geometry()))
        << entry.id;
  EXPECT_EQ(Windows().Control(kSongMap)->geometry().bottom(), Main().height() - 5);
  const QImage keyboard = Picture(kChannelKeyboardBase);
  EXPECT_EQ(keyboard.size(), Windows().Surface(kChannelKeyboardBase)->contentsRect().size());
  const double whiteKey = std::lrint(keyboard.width() / 63.0);
  EXPECT_EQ(keyboard.pixelColor(static_cast<int>(1.1 * whiteKey), keyboard.height() / 3), QColor(0, 0, 0));
  timers->Tick(*program, kSecondSlot);
  Click(kPlayButton);
  Pin("a second later, Play");
}

TEST_F(Program, WithoutAnOutputTheWindowStaysOpenWithoutClockOrSongList) {
  Write("a.mid", kTwoChannels);
  midi.DeviceNames.clear();
  StartProgram();
  Pin("started");
}

// The song map is drawn after the load; the list selects the song that plays, for Continuo to go on from.
TEST_F(Program, TheCommandLineSongPlaysAtTheFirstPaintAndItsFolderIsListed) {
  QDir(folder.path()).mkdir("Other");
  for (const char* name : {"Other/a.mid", "Other/c.mid", "here.mid"}) Write(name, kTwoChannels);
  const std::string path = Write("Other/My Song.mid", kTwoChannels);
  StartProgram(path);
  EXPECT_TRUE(program->CommandLineSong().empty());
  EXPECT_EQ(program->TheLogs().Debug[1], path);
  EXPECT_FALSE(BoundsOf(Picture(kSongMap), kSongMapDrumNote).isEmpty());
  EXPECT_EQ(QDir::currentPath(), folder.filePath("Other"));
  Pin("started");
}

TEST_F(Program, ADroppedSongFileIsLoadedAsLoadWouldAndOtherFilesAreRefused) {
  QDir(folder.path()).mkdir("Dropped");
  Write("Dropped/a.mid", kOtherSong);
  const std::string song = Write("Dropped/Tune.MID", kTwoChannels), text = Write("Dropped/notes.txt", "x");
  StartProgram();
  for (const std::string& path : {text, song}) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Main(), &enter);
    EXPECT_EQ(enter.isAccepted(), path == song) << path;
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Main(), &drop);
  }
  ASSERT_TRUE(QTest::qWaitFor([this] { return !program->Document().FileName.empty(); }));
  EXPECT_EQ(program->Document().FileName, song);
  EXPECT_EQ(dialogsOpened, 0);
  Pin("dropped");
}

TEST_F(Program, ChoosingAnEntryOfTheListLoadsAndPlaysIt) {
  Write("a.mid", kOtherSong);
  Write("b.mid", kTwoChannels);
  StartProgram();
  Look();
  ClickSongEntry(1);
  Pin("b.mid chosen");  // reset (the output opened again), then Play
  EXPECT_GT(Windows().List(kListingList)->model()->rowCount(), 5);
  EXPECT_GT(Windows().List(kEventTableList)->model()->rowCount(), 3);
  Run(50);
  Pin("50 ticks");
  ClickSongEntry(0);  // while it plays: the other starts at once
  Pin("a.mid chosen");
}

TEST_F(Program, LoadChoosesAFileItsFolderIsListedAndACancelledLoadStopsTheSong) {
  Write("here.mid", kTwoChannels);
  QDir(folder.path()).mkdir("Other");
  for (const char* name : {"Other/Piece.MID", "Other/zz.kar"}) Write(name, kTwoChannels);
  StartProgram();
  chosen = folder.filePath("Other/Piece.MID");
  Click(kLoadButton);
  EXPECT_EQ(dialogsOpened, 1);
  EXPECT_EQ(QDir::currentPath(), folder.filePath("Other"));
  EXPECT_EQ(program->Document().FileName, chosen.toStdString());
  Pin("loaded");
  chosen.clear();
  Click(kLoadButton);
  Pin("cancelled");
}

TEST_F(Program, ContinuoPlaysTheNextEntryAndWrapsFromTheLastToTheFirst) {
  Write("a.mid", kOtherSong);
  Write("b.mid", kTwoChannels);
  StartProgram();
  ClickSongEntry(1);
  Click(kContinuoToggle);
  Run(200);
  Pin("ended");
  timers->Tick(*program, kSecondSlot);
  Pin("a second later");
}

TEST_F(Program, AnEntryThatCannotBeReadSaysWhyAndPlaysNothing) {
  Write("gone.mid", kTwoChannels);
  Write("junk.mid", "not a song");
  StartProgram();
  ASSERT_TRUE(QFile::remove(folder.filePath("gone.mid")));
  ClickSongEntry(0);  // what else it leaves is the session's tests'
  Pin("gone.mid chosen");
  ClickSongEntry(1);  // whatever the reader makes of it, the program goes on
  Tick(20);
  Click(kPlayButton);
  Tick(20);
  EXPECT_TRUE(Main().isVisible());
  Click(kCreateButton);  // composes into the current folder and plays it
  EXPECT_TRUE(QFile::exists(folder.filePath("creato.mid")));
  EXPECT_EQ(program->Document().FileName, "creato.mid");
  Pin("created");
}

TEST_F(Program, SavedListingHoldsEveryLineEndedByCrLfAndAFailureSaysWhy) {
  QDir(folder.path()).mkdir("Sub Dir");
  Write("Sub Dir/Tune.Mid", kOtherSong);
  StartProgram();
  Click(kSaveListingButton);  // nothing loaded, nothing saved
  EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
  chosen = folder.filePath("Sub Dir/Tune.Mid");
  Click(kLoadButton);
  Click(kSaveListingButton);
  QFile saved(folder.filePath("Sub Dir/tune.txt"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const LineList& lines = program->Document().Listing.Lines;
  ASSERT_GT(lines.Size(), 5u);
  std::string expected;
  for (size_t i = 0; i < lines.Size(); ++i) expected.append(lines[i]).append("\r\n");
  EXPECT_EQ(saved.readAll().toStdString(), expected);
  saved.remove();
  QDir(folder.filePath("Sub Dir")).mkdir("tune.txt");
  Click(kSaveListingButton);
  Pin("saved, then saved onto a folder");  // only the second says why it failed
}

// Escape, from a control with the focus too: the input closed first (its thread passes notes on until
// then), the note test's and the held key's notes ended, every channel silenced, the output closed; once.
TEST_F(Program, EscapeShutsDownInOrderAndOnlyOnce) {
  Write("a.mid", kTwoChannels);
  size_t sentWhenInputClosed = 0;
  midiIn.onClose = [this, &sentWhenInputClosed] {
    midi.Calls.push_back("input close");
    sentWhenInputClosed = midi.Sent.size();
  };
  StartProgram();
  ClickSongEntry(0);
  Click(kDebugToggle);
  QSignalSpy ended(&Main(), &MainWindow::Ended);
  DrawingSurface* surface = Windows().Surface(kChannelKeyboardBase + 1);  // held on its key 61, slot 35
  const int white = static_cast<int>(std::lrint(surface->Image().width() / 63.0));
  SendMouse(Windows().Control(kChannelKeyboardBase + 1), QEvent::MouseButtonPress,
            QPoint(35 * white + white / 2, surface->Image().height() - 3) + surface->contentsRect().topLeft(),
            Qt::LeftButton, Qt::LeftButton);
  Click(kNoteTestButton);
  ASSERT_TRUE(program->TheNoteTest().Running());
  Look();
  const size_t sentBefore = midi.Sent.size();
  QTest::keyClick(Windows().Button(kPlayButton), Qt::Key_Escape);
  midiIn.onClose = nullptr;
  Pin("Escape");  // the note test's and the held key's notes ended, then every channel silenced
  EXPECT_THAT(midiIn.calls, ElementsAre("open 0", "start", "stop", "close"));
  EXPECT_EQ(sentWhenInputClosed, sentBefore);
  EXPECT_FALSE(program->TheNoteTest().Running());
  Main().close();
  program->Shutdown();
  EXPECT_EQ(ended.count(), 1);
  midiIn.Play(Word(0x90, 60, 100));  // reaches nothing now
  QCoreApplication::processEvents();
  EXPECT_THAT(Sent(), IsEmpty());
}

// Channel 1 on program 1 and channel 2 on program 126, both playing a long note; 20 s long.
class Commands : public ProgramBench {
 protected:
  void SetUp() override {
    ProgramBench::SetUp();
    Write("long.mid", Song(ProgramEvent(0, 1, 1) + ProgramEvent(0, 2, 126) + NoteOn(0, 1, 60, 100) +
                           NoteOn(0, 2, 67, 100) + NoteOff(3840, 1, 60) + NoteOff(0, 2, 67)));
    StartProgram();
    ClickSongEntry(0);
    Sent();
  }
  // A surface's point at a percent of its picture's width, in widget pixels.
  QPoint AtPercent(int id, double percent) {
    DrawingSurface* surface = Windows().Surface(id);
    const int x = static_cast<int>(std::lrint(percent / 100 * (surface->Image().width() - 1)));
    return QPoint(x, 5) + surface->contentsRect().topLeft();
  }
};

// Every control of the main window in turn, each step's look against its golden one. What the player
// sends for each is the transport's tests'; here, that a control reaches it and shows its state whoever
// changed it (the desktop's Stop clears Pause), that channel buttons mute on the left and solo on the right,
// that help texts stay after the pointer leaves, that a held instrument button steps on every move and
// still sends at the ends (none on a channel without a program change), that All organ renames only the
// labels holding a program above 0, and that the instrument list sends only the user's choice.
TEST_F(Commands, EachControlDoesWhatTheGoldenTranscriptHolds) {
  std::vector<std::pair<std::string, std::function<void()>>> steps = {
      {"started", [] {}},
      {"Pause", [&] { Click(kPauseToggle); }},
      {"Pause again", [&] { Click(kPauseToggle); }},
      {"Pause, Stop", [&] { Click(kPauseToggle), Click(kStopButton); }},
      {"Play", [&] { Click(kPlayButton); }},
      {"Continuo, Intro, Monitor, Tempo fix, History",
       [&] {
         for (int id : {kContinuoToggle, kIntroToggle, kMonitorToggle, kTempoFixToggle, kHistoryToggle})
           Click(id);
       }},
      {"Mute", [&] { Click(kMuteToggle); }},
      {"Mute again", [&] { Click(kMuteToggle); }},
      {"Pause, the desktop's Stop",
       [&] { Click(kPauseToggle), program->Session().Apply({.kind = CommandKind::kStop}); }}};
  // Secondary windows on top; closed by Escape, their frame or their toggle, the toggle unchecked.
  for (const auto& [toggle, shown] : {std::pair<int, ToolWindow*>{kListingToggle, &Windows().ListingWindow()},
                                      {kEventTableToggle, &Windows().EventTableWindow()},
                                      {kDebugToggle, &Windows().DebugWindow()},
                                      {kBigKeyboardToggle, &Windows().KeyboardWindow()}}) {
    const int id = toggle;
    ToolWindow* window = shown;
    const std::string name = "toggle " + std::to_string(id);
    steps.push_back({name, [this, id] { Click(id); }});
    steps.push_back({name + ", Escape", [window] { QTest::keyClick(window, Qt::Key_Escape); }});
    steps.push_back({name + ", toggle, its frame", [this, id, window] { Click(id), window->close(); }});
    steps.push_back({name + ", toggle, toggle", [this, id] { Click(id), Click(id); }});
  }
  const auto label = [this](const QString& name, Colour colour) {
    QImage made(Picture(kInstrumentLabelBase).size(), QImage::Format_RGB32);
    DrawInstrumentLabel(made, name, colour);
    return made;
  };
  const QImage channel3 = Picture(kInstrumentLabelBase + 2);
  steps.insert(
      steps.end(),
      {{"left on channel 3", [&] { Click(kChannelButtonBase + 2); }},
       {"left on channel 3 again", [&] { Click(kChannelButtonBase + 2); }},
       {"right on channel 5",
        [&] {
          Drag(kChannelButtonBase + 4, Qt::RightButton, {{5, 5}});
        }},
       {"Solo off", [&] { Click(kSoloOffButton); }},
       {"over channel 1", [&] { Hover(kChannelButtonBase); }},
       {"over instrument 4", [&] { Hover(kInstrumentLabelBase + 3); }},
       {"over the song map", [&] { Hover(kSongMap); }},
       {"over the loop bar", [&] { Hover(kLoopBar); }},
       {"over the background, then a level bar",
        [&] {
          SendMouse(&Main(), QEvent::MouseMove, {300, 20}, Qt::NoButton, Qt::NoButton), Hover(kLevelBarBase);
        }},
       {"instrument 1 held left, moved twice, then hovered",
        [&] {
          Drag(kInstrumentLabelBase, Qt::LeftButton, {{20, 10}, {21, 10}, {22, 10}});
          Hover(kInstrumentLabelBase, {23, 10});
          EXPECT_EQ(Picture(kInstrumentLabelBase), label("1 Acoustic Grand", kProgramStepped));
        }},
       {"instrument 2 held right, moved once",
        [&] {
          Drag(kInstrumentLabelBase + 1, Qt::RightButton, {{20, 10}, {21, 10}});
          EXPECT_EQ(Picture(kInstrumentLabelBase + 1), label("128 Gunshot", kProgramStepped));
        }},
       {"instrument 6, no program",
        [&] {
          Drag(kInstrumentLabelBase + 5, Qt::LeftButton, {{20, 10}});
        }},
       {"All organ",
        [&] {
          Click(kAllOrganButton);
          EXPECT_EQ(Picture(kInstrumentLabelBase + 1), label("20 Church Organ", kProgramShown));
          EXPECT_EQ(Picture(kInstrumentLabelBase + 2), channel3);
        }},
       {"instrument list set to 41", [&] { Windows().InstrumentList()->setCurrentIndex(40); }},
       {"instrument list set to 19, then Down",
        [&] {
          Windows().InstrumentList()->setCurrentIndex(18);
          QTest::keyClick(Windows().InstrumentList(), Qt::Key_Down);
        }},
       {"double, double, halve tempo",
        [&] { Click(kDoubleTempoButton), Click(kDoubleTempoButton), Click(kHalveTempoButton); }},
       {"left on the loop bar at 30%",
        [&] { QTest::mouseClick(Windows().Control(kLoopBar), Qt::LeftButton, {}, AtPercent(kLoopBar, 30)); }},
       {"right held on the loop bar from 50% to 60%",
        [&] {
          Drag(kLoopBar, Qt::RightButton, {AtPercent(kLoopBar, 50), AtPercent(kLoopBar, 60)});
          const QRect range = BoundsOf(Picture(kLoopBar), kLoopRange);
          EXPECT_NEAR(range.left(), 0.3 * Picture(kLoopBar).width(), 2);
          EXPECT_NEAR(range.right(), 0.6 * Picture(kLoopBar).width(), 2);
        }},
       {"Cancel loop", [&] { Click(kCancelLoopButton); }},
       {"Stop, left on the song map at 50%",
        [&] {
          Click(kStopButton);
          QTest::mouseClick(Windows().Control(kSongMap), Qt::LeftButton, {}, AtPercent(kSongMap, 50));
        }},
       // The big keyboard drawn in full, lit in channel 1's colour, unlit by its filter; a click clears the
       // history strip.
       {"Keyboard window, Play",
        [&] {
          Click(kBigKeyboardToggle);
          const QImage keyboard = Picture(kBigKeyboard);
          EXPECT_EQ(PixelAt(keyboard, keyboard.width() / 126, keyboard.height() - 5), kWhite);
          Click(kPlayButton);
          EXPECT_FALSE(BoundsOf(Picture(kBigKeyboard), kChannelColour[1]).isEmpty());
        }},
       {"filter 1 off, the history strip clicked", [&] {
          Click(kChannelFilterBase);
          EXPECT_TRUE(BoundsOf(Picture(kBigKeyboard), kChannelColour[1]).isEmpty());
          DrawingSurface* history = Windows().Surface(kHistoryStrip);
          history->Image().fill(Qt::red);
          Drag(kHistoryStrip, Qt::LeftButton, {{30, 30}});
          EXPECT_TRUE(AllOf(history->Image(), history->Image().rect(), kWhite));
        }}});
  Look();
  for (const auto& [name, step] : steps) step(), Pin(name);
}

using Panels = ProgramBench;

// Only channels with notes are marked used; a level holds until the note ends, then falls 10 a progress tick.
TEST_F(Panels, AfterPlayChannelsWithoutNotesReadNonUsatoAndLevelsFallOnTheProgressTick) {
  Write("two.mid", Song(NoteOn(0, 1, 60, 127) + NoteOn(0, 10, 36, 1) + NoteOff(2, 10, 36) +
                        NoteOff(94, 1, 60) + Meta(960, 0x01, "x")));
  StartProgram();
  ClickSongEntry(0);
  QImage unused(Picture(kInstrumentLabelBase).size(), QImage::Format_RGB32), used = unused;
  DrawChannelUsageLabel(unused, false);
  DrawChannelUsageLabel(used, true);
  for (int row = 0; row < 16; ++row)
    EXPECT_EQ(Picture(kInstrumentLabelBase + row), row == 0 || row == 9 ? used : unused) << row;
  for (const auto& [ticks, row, level] :
       {std::tuple{10, 0, 127}, {0, 9, 1}, {0, 5, 0}, {40, 0, 117}, {10, 0, 107}, {0, 9, 1}}) {
    Tick(ticks);
    QImage expected(Picture(kLevelBarBase + row).size(), QImage::Format_RGB32);
    DrawLevelBar(expected, level);
    EXPECT_EQ(Picture(kLevelBarBase + row), expected) << "row " << row << " level " << level;
  }
  EXPECT_EQ(LabelText(kChannelIndicatorBase), "-");  // neutral after the note-off
}

TEST_F(Panels, ATicksMessagesAreAllSentBeforeItsKeysAreDrawnWhereTheyLie) {
  Write("chord.mid",
        Song(NoteOn(10, 3, 60, 100) + NoteOn(0, 3, 64, 100) + NoteOff(96, 3, 60) + NoteOff(0, 3, 64)));
  StartProgram();
  Click(kBigKeyboardToggle);
  Click(kHistoryToggle);
  ClickSongEntry(0);
  const auto litKeys = [this] {
    return !BoundsOf(Picture(kChannelKeyboardBase + 2), kChannelColour[3]).isEmpty() ||
           !BoundsOf(Picture(kBigKeyboard), kChannelColour[1]).isEmpty();
  };
  ASSERT_FALSE(litKeys());
  std::vector<bool> litAtSend;
  midi.OnSend = [&](uint32_t) { litAtSend.push_back(litKeys()); };
  Tick(20);
  midi.OnSend = nullptr;
  EXPECT_EQ(litAtSend, std::vector<bool>(2, false));
  // Then drawn in that tick: keys 61 and 65 (white slots 35 and 37), the big keyboard in one colour for all.
  for (const auto& [id, colour] :
       {std::pair{kChannelKeyboardBase + 2, kChannelColour[3]}, std::pair{kBigKeyboard, kChannelColour[1]}}) {
    const QRect lit = BoundsOf(Picture(id), colour);
    const int white = static_cast<int>(std::lrint(Picture(id).width() / 63.0));
    EXPECT_NEAR(lit.left(), 35 * white, 1) << id;
    EXPECT_NEAR(lit.right(), 38 * white, 1) << id;
  }
  EXPECT_TRUE(BoundsOf(Picture(kChannelKeyboardBase + 1), kChannelColour[3]).isEmpty());
  EXPECT_EQ(LabelText(kChannelIndicatorBase + 2), "mi");
  Tick(100);
  EXPECT_FALSE(litKeys());
}

// The bytes stay as the song has them; the panel shows them decoded.
TEST_F(Panels, TheLyricLineGrowsAndStartsAgainAfterASlash) {
  Write("song.kar", Song(Meta(0, 0x01, "Hel") + Meta(10, 0x01, "lo") + Meta(10, 0x01, "/wor") +
                         Meta(10, 0x01, "ld") + Meta(10, 0x01, "\xE0")));
  StartProgram();
  ClickSongEntry(0);
  EXPECT_EQ(program->Screen().Lyric().Text, "Hel");
  Tick(25);
  EXPECT_EQ(program->Screen().Lyric().Text, "world\xE0");
  QImage expected(Picture(kLyricPanel).size(), QImage::Format_RGB32);
  DrawLyricLine(expected, QString::fromUtf8("world\xC3\xA0"));
  EXPECT_EQ(Picture(kLyricPanel), expected);
}

// "Midi out": the chosen device replaces the output after the driver's pause.
class OutputSwitch : public ProgramBench {
 protected:
  void SetUp() override {
    ProgramBench::SetUp();
    midi.DeviceNames = {"Built-in synth", "Port B"};
    Write("long.mid", Song(NoteOn(0, 1, 60, 100) + NoteOn(96, 2, 62, 100) + Meta(9600, 0x01, "x")));
  }
  void ChoosePortB(int pauseMs) {
    program->Switch().SetPauseMs(pauseMs);
    Click(kMidiOutButton);
    DeviceDialog* dialog = program->MidiOutDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Midi out device");
    ASSERT_EQ(dialog->Entries()->count(), 2);
    EXPECT_EQ(dialog->Entries()->itemText(0), " 0 Built-in synth");
    EXPECT_EQ(dialog->Entries()->currentIndex(), 0);
    emit dialog->Entries()->activated(1);
    EXPECT_FALSE(dialog->isVisible());
  }
};

TEST_F(OutputSwitch, TheChosenDeviceOpensAfterThePauseWhileTheWindowAnswers) {
  StartProgram();
  ClickSongEntry(0);
  Look();
  ChoosePortB(300);
  EXPECT_TRUE(program->Switch().Switching());
  // Meanwhile the song plays on (its sends lost), the buttons work, a chosen instrument waits.
  Run(60);
  Click(kDoubleTempoButton);
  QTest::keyClick(Windows().InstrumentList(), Qt::Key_Down);
  Pin("switching");
  ASSERT_TRUE(QTest::qWaitFor([this] { return !program->Switch().Switching(); }, 10000));
  Pin("switched");
  const std::vector<std::string> debug = program->TheLogs().Debug.ToVector();
  EXPECT_THAT(std::vector(debug.end() - 2, debug.end()),
              ElementsAre("Close 0 OK!", "Open Midi Device Out < 1 Port B> is OK!"));
  Click(kPlayButton);  // the next Play goes back to the default output
  EXPECT_EQ(midi.Calls.back(), "open -1");
  ChoosePortB(50);  // ended during the pause: nothing opens afterwards
  Main().End();
  EXPECT_FALSE(program->Switch().Switching());
  EXPECT_EQ(midi.Calls.back(), "close");
}

}  // namespace
}  // namespace sonvela::test
