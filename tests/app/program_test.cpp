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

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
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
  EXPECT_THAT(Entries(), ElementsAre("> a.kar", "b.mid", "c.KAR", "Piece.MID"));
  EXPECT_THAT(midi.Calls, ElementsAre("open -1"));
  EXPECT_TRUE(timers->Running(kSecondSlot) && !timers->Running(kSequencerSlot));
  EXPECT_EQ(program->TheLogs().Debug[0], "Numero devices Midi Out: 1");
  const QAbstractItemView* debug = Windows().List(kDebugLogList);
  EXPECT_EQ(std::pair(debug->model()->rowCount(), debug->currentIndex().row()), std::pair(1, 0));
  for (int i = 0; i < 16; ++i) EXPECT_TRUE(Checked(kChannelFilterBase + i)) << i;
  EXPECT_FALSE(Checked(kHistoryToggle));
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
  // Nothing plays until a song is chosen.
  EXPECT_THAT(messages.shown, IsEmpty());
  EXPECT_THAT(Sent(), IsEmpty());
  timers->Tick(*program, kSecondSlot);
  EXPECT_TRUE(LabelText(kTimeLabel).startsWith("Ora: 10:00:00"));
  Click(kPlayButton);
  EXPECT_THAT(messages.shown, ElementsAre("No midifile loaded!"));
}

TEST_F(Program, WithoutAnOutputTheWindowStaysOpenWithoutClockOrSongList) {
  Write("a.mid", kTwoChannels);
  midi.DeviceNames.clear();
  StartProgram();
  EXPECT_THAT(messages.shown, ElementsAre("Midi non disponibile"));
  EXPECT_THAT(Entries(), IsEmpty());
  EXPECT_FALSE(timers->Running(kSecondSlot));
  EXPECT_TRUE(Main().isVisible());
}

// The song map is drawn after the load; the list selects the song that plays, for Continuo to go on from.
TEST_F(Program, TheCommandLineSongPlaysAtTheFirstPaintAndItsFolderIsListed) {
  QDir(folder.path()).mkdir("Other");
  for (const char* name : {"Other/a.mid", "Other/c.mid", "here.mid"}) Write(name, kTwoChannels);
  const std::string path = Write("Other/My Song.mid", kTwoChannels);
  StartProgram(path);
  EXPECT_TRUE(program->CommandLineSong().empty());
  EXPECT_THAT(Sent(), Contains(Word(0x90, 60, 100)));
  EXPECT_EQ(Title(), QString::fromStdString(path));
  EXPECT_EQ(program->TheLogs().Debug[1], path);
  EXPECT_TRUE(timers->Running(kSequencerSlot));
  EXPECT_FALSE(BoundsOf(Picture(kSongMap), kSongMapDrumNote).isEmpty());
  EXPECT_EQ(QDir::currentPath(), folder.filePath("Other"));
  EXPECT_THAT(Entries(), ElementsAre("a.mid", "c.mid", "> My Song.mid"));
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
  EXPECT_THAT(Entries(), ElementsAre("a.mid", "> Tune.MID"));
  EXPECT_EQ(Sent().back(), Word(0x90, 60, 100));
}

TEST_F(Program, ChoosingAnEntryOfTheListLoadsAndPlaysIt) {
  Write("a.mid", kOtherSong);
  Write("b.mid", kTwoChannels);
  StartProgram();
  Sent();
  ClickSongEntry(1);
  const std::vector<uint32_t> sent = Sent();  // reset (the output opened again), then Play
  EXPECT_THAT(sent, Contains(Word(0xC0, 5, 0)));
  EXPECT_EQ(sent.back(), Word(0x90, 60, 100));
  EXPECT_THAT(midi.Calls, ElementsAre("open -1", "close", "open -1"));
  EXPECT_EQ(Title(), "b.mid");
  EXPECT_EQ(LabelText(kBpmLabel), "BPM 120");
  EXPECT_GT(Windows().List(kListingList)->model()->rowCount(), 5);
  EXPECT_GT(Windows().List(kEventTableList)->model()->rowCount(), 3);
  EXPECT_THAT(Tick(50), Contains(Word(0x99, 36, 80)));
  ClickSongEntry(0);  // while it plays: the other starts at once
  EXPECT_EQ(Sent().back(), Word(0x91, 64, 90));
  EXPECT_EQ(Title(), "a.mid");
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
  EXPECT_THAT(Entries(), ElementsAre("> Piece.MID", "zz.kar"));
  EXPECT_EQ(Sent().back(), Word(0x90, 60, 100));
  EXPECT_EQ(program->Document().FileName, chosen.toStdString());
  chosen.clear();
  Click(kLoadButton);
  EXPECT_FALSE(timers->Running(kSequencerSlot));
}

TEST_F(Program, ContinuoPlaysTheNextEntryAndWrapsFromTheLastToTheFirst) {
  Write("a.mid", kOtherSong);
  Write("b.mid", kTwoChannels);
  StartProgram();
  ClickSongEntry(1);
  Click(kContinuoToggle);
  Tick(200);
  ASSERT_EQ(State().PlayStatus, "finito");
  Sent();
  timers->Tick(*program, kSecondSlot);
  EXPECT_THAT(Entries(), ElementsAre("> a.mid", "b.mid"));
  EXPECT_EQ(Title(), "a.mid");
  EXPECT_THAT(Sent(), Contains(Word(0x91, 64, 90)));
  EXPECT_EQ(State().PlayStatus, "suono");
}

TEST_F(Program, AnEntryThatCannotBeReadSaysWhyAndPlaysNothing) {
  Write("gone.mid", kTwoChannels);
  Write("junk.mid", "not a song");
  StartProgram();
  ASSERT_TRUE(QFile::remove(folder.filePath("gone.mid")));
  ClickSongEntry(0);  // what else it leaves is the session's tests'
  EXPECT_THAT(messages.shown,
              ElementsAre("Impossibile leggere il file \"gone.mid\": No such file or directory",
                          "No midi file loaded!"));
  ClickSongEntry(1);  // whatever the reader makes of it, the program goes on
  Tick(20);
  Click(kPlayButton);
  Tick(20);
  EXPECT_TRUE(Main().isVisible());
  Click(kCreateButton);  // composes into the current folder and plays it
  EXPECT_TRUE(QFile::exists(folder.filePath("creato.mid")));
  EXPECT_EQ(program->Document().FileName, "creato.mid");
  EXPECT_THAT(Sent(), Contains(Word(0xC0, 82, 0)));
  EXPECT_EQ(Title(), "creato.mid");
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
  EXPECT_THAT(messages.shown, IsEmpty());
  saved.remove();
  QDir(folder.filePath("Sub Dir")).mkdir("tune.txt");
  Click(kSaveListingButton);
  EXPECT_THAT(messages.shown, ElementsAre("Impossibile scrivere il file \"" + saved.fileName().toStdString() +
                                          "\": Is a directory"));
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
  Sent();
  const size_t sentBefore = midi.Sent.size();
  QTest::keyClick(Windows().Button(kPlayButton), Qt::Key_Escape);
  midiIn.onClose = nullptr;
  EXPECT_FALSE(Main().isVisible() || Windows().DebugWindow().isVisible());
  for (int slot = 1; slot <= 3; ++slot) EXPECT_FALSE(timers->Running(slot)) << slot;
  EXPECT_THAT(midiIn.calls, ElementsAre("open 0", "start", "stop", "close"));
  EXPECT_THAT(midi.Calls, ElementsAre("open -1", "close", "open -1", "input close", "close"));
  EXPECT_EQ(sentWhenInputClosed, sentBefore);
  EXPECT_THAT(Sent(), ElementsAreArray(Join({{Word(0x80, 48, 0), Word(0x81, 60, 0)}, AllNotesOffWords()})));
  EXPECT_FALSE(program->TheNoteTest().Running());
  EXPECT_THAT(messages.shown, IsEmpty());
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
  QImage Label(const QString& name, Colour colour) {
    QImage label(Picture(kInstrumentLabelBase).size(), QImage::Format_RGB32);
    DrawInstrumentLabel(label, name, colour);
    return label;
  }
};

// What the player sends for each is the transport's tests'.
TEST_F(Commands, TransportButtonsAndTogglesReachThePlayerAndShowItsState) {
  Click(kPauseToggle);
  EXPECT_EQ(State().Paused, 1);
  EXPECT_FALSE(timers->Running(kSequencerSlot));
  Click(kPauseToggle);
  EXPECT_TRUE(timers->Running(kSequencerSlot));
  Click(kPauseToggle);
  Click(kStopButton);
  EXPECT_EQ(State().Paused, 0);
  EXPECT_FALSE(Checked(kPauseToggle) || timers->Running(kSequencerSlot));
  Sent();
  Click(kPlayButton);
  EXPECT_TRUE(timers->Running(kSequencerSlot));
  EXPECT_EQ(Sent().back(), Word(0x91, 67, 100));
  const int toggles[] = {kContinuoToggle, kIntroToggle, kMonitorToggle, kTempoFixToggle, kHistoryToggle};
  for (int toggle : toggles) Click(toggle);
  EXPECT_EQ(std::tuple(State().ContinuoOn, State().IntroSeconds, State().MonitorOn, State().TempoFixed),
            std::tuple(1, 4, 1, 1));
  EXPECT_TRUE(program->Session().View().History);
  for (const float scale : {0.0f, 1.0f}) {
    Click(kMuteToggle);
    EXPECT_EQ(State().DataScale, scale);
  }
  // A toggle shows its state whoever changed it: the desktop's Stop clears Pause.
  Click(kPauseToggle);
  program->Session().Apply({.kind = CommandKind::kStop});
  EXPECT_FALSE(Checked(kPauseToggle));
  for (int toggle : toggles) EXPECT_TRUE(Checked(toggle)) << toggle;

  // Secondary windows on top; closed by Escape, their frame or their toggle, the toggle unchecked.
  const std::tuple<int, ToolWindow*, const char*> windows[] = {
      {kListingToggle, &Windows().ListingWindow(), "Disassemblato"},
      {kEventTableToggle, &Windows().EventTableWindow(), "Eseguibile"},
      {kDebugToggle, &Windows().DebugWindow(), "Debug"},
      {kBigKeyboardToggle, &Windows().KeyboardWindow(), "Keyboard"}};
  for (const auto& [id, window, title] : windows) {
    EXPECT_TRUE(window->windowTitle() == title && window->windowFlags() & Qt::WindowStaysOnTopHint) << id;
    for (const int how : {0, 1, 2}) {
      Click(id);
      EXPECT_TRUE(window->isVisible()) << id;
      how == 0 ? QTest::keyClick(window, Qt::Key_Escape) : how == 1 ? void(window->close()) : Click(id);
      EXPECT_FALSE(window->isVisible() || Checked(id)) << id;
    }
  }
}

TEST_F(Commands, ChannelButtonsMuteOnTheLeftSoloOnTheRightAndSoloOffUndoesBoth) {
  QLabel* third = Windows().Label(kChannelButtonBase + 2);
  for (const auto& [muted, colour] : {std::pair{1, QColor(255, 0, 0)}, {0, QColor(0, 255, 0)}}) {
    Click(kChannelButtonBase + 2);
    EXPECT_EQ(State().ChannelMuted[3], muted);
    EXPECT_EQ(third->palette().color(QPalette::WindowText), colour);
  }
  Drag(kChannelButtonBase + 4, Qt::RightButton, {{5, 5}});
  for (int channel = 1; channel <= 16; ++channel)
    EXPECT_EQ(State().ChannelMuted[channel], channel != 5) << channel;
  Click(kSoloOffButton);
  for (int channel = 1; channel <= 16; ++channel) EXPECT_EQ(State().ChannelMuted[channel], 0) << channel;
  Sent();
  // Help texts stay after the pointer leaves; hovering sends nothing.
  for (const auto& [id, help] :
       {std::pair{kChannelButtonBase, "Left click=channel on/off, Right click=solo on"},
        {kInstrumentLabelBase + 3, "Left click=next instr, Right click=previous instr"},
        {kSongMap, "Left click=Start from here"},
        {kLoopBar, "Left click=Start loop, Right click=End loop"}}) {
    Hover(id);
    EXPECT_EQ(LabelText(kInfoLabel), help);
  }
  SendMouse(&Main(), QEvent::MouseMove, {300, 20}, Qt::NoButton, Qt::NoButton);
  Hover(kLevelBarBase, {3, 3});
  EXPECT_EQ(LabelText(kInfoLabel), "Left click=Start loop, Right click=End loop");
  EXPECT_THAT(Sent(), IsEmpty());
}

// Held, a button steps on every move and sends at the ends too; a channel without a program change has none.
TEST_F(Commands, AHeldButtonStepsTheInstrumentOnEveryMoveAndStillSendsAtTheEnds) {
  Drag(kInstrumentLabelBase, Qt::LeftButton, {{20, 10}, {21, 10}, {22, 10}});
  Hover(kInstrumentLabelBase, {23, 10});
  EXPECT_THAT(Sent(), ElementsAre(Word(0xC0, 0, 127), Word(0xC0, 0, 127), Word(0xC0, 0, 127)));
  EXPECT_EQ(State().InstrumentProgram[1], 0);
  EXPECT_EQ(Picture(kInstrumentLabelBase), Label("1 Acoustic Grand", kProgramStepped));
  Drag(kInstrumentLabelBase + 1, Qt::RightButton, {{20, 10}, {21, 10}});
  EXPECT_THAT(Sent(), ElementsAre(Word(0xC1, 127, 127), Word(0xC1, 127, 127)));
  EXPECT_EQ(Picture(kInstrumentLabelBase + 1), Label("128 Gunshot", kProgramStepped));
  Drag(kInstrumentLabelBase + 5, Qt::LeftButton, {{20, 10}});
  EXPECT_THAT(Sent(), IsEmpty());
}

// All organ renames only the labels that name a program; the instrument list sends only the user's choice.
TEST_F(Commands, AllOrganAndTheInstrumentList) {
  const QImage channel3Before = Picture(kInstrumentLabelBase + 2);
  Click(kAllOrganButton);
  std::vector<uint32_t> organ;
  for (int channel = 0; channel < 16; ++channel) organ.push_back(Word(0xC0 + channel, 19, 127));
  EXPECT_THAT(Sent(), ElementsAreArray(organ));
  for (int row : {0, 1})
    EXPECT_EQ(Picture(kInstrumentLabelBase + row), Label("20 Church Organ", kProgramShown));
  EXPECT_EQ(State().InstrumentProgram[2], 19);
  EXPECT_EQ(Picture(kInstrumentLabelBase + 2), channel3Before);
  EXPECT_EQ(State().InstrumentProgram[3], -1);
  QComboBox* instruments = Windows().InstrumentList();
  instruments->setCurrentIndex(40);
  EXPECT_THAT(Sent(), IsEmpty());
  EXPECT_EQ(program->KeyboardProgram(), 1);
  instruments->setCurrentIndex(18);
  QTest::keyClick(instruments, Qt::Key_Down);
  EXPECT_EQ(program->KeyboardProgram(), 20);
  EXPECT_THAT(Sent(), ElementsAre(Word(0xC0, 19, 0)));
}

TEST_F(Commands, TempoButtonsTheLoopBarAndTheSongMap) {
  Click(kDoubleTempoButton);
  Click(kDoubleTempoButton);
  Click(kHalveTempoButton);
  EXPECT_EQ(LabelText(kBpmLabel), "BPM 240");
  QTest::mouseClick(Windows().Control(kLoopBar), Qt::LeftButton, {}, AtPercent(kLoopBar, 30));
  EXPECT_NEAR(State().LoopStartPercent, 30, 0.2);
  EXPECT_NEAR(State().LoopEndPercent, 31, 0.2);
  Drag(kLoopBar, Qt::RightButton,
       {AtPercent(kLoopBar, 50), AtPercent(kLoopBar, 60)});  // the end, on every move
  EXPECT_NEAR(State().LoopEndPercent, 60, 0.2);
  const QRect range = BoundsOf(Picture(kLoopBar), kLoopRange);
  EXPECT_NEAR(range.left(), 0.3 * Picture(kLoopBar).width(), 2);
  EXPECT_NEAR(range.right(), 0.6 * Picture(kLoopBar).width(), 2);
  Click(kCancelLoopButton);
  EXPECT_EQ(std::pair(State().LoopStartPercent, State().LoopEndPercent), std::pair(0.0f, 0.0f));
  Click(kStopButton);
  QTest::mouseClick(Windows().Control(kSongMap), Qt::LeftButton, {}, AtPercent(kSongMap, 50));
  EXPECT_NEAR(static_cast<double>(State().SongPosition) / 60000, 1920, 20);  // half the song, and playing
  EXPECT_TRUE(timers->Running(kSequencerSlot));
}

TEST_F(Commands, TheKeyboardWindowLightsFiltersAndClearsItsHistory) {
  Click(kBigKeyboardToggle);
  const QImage keyboard = Picture(kBigKeyboard);
  EXPECT_EQ(PixelAt(keyboard, keyboard.width() / 126, keyboard.height() - 5), kWhite);  // drawn in full
  Click(kPlayButton);
  EXPECT_FALSE(BoundsOf(Picture(kBigKeyboard), kChannelColour[1]).isEmpty());
  Click(kChannelFilterBase);
  EXPECT_FALSE(Checked(kChannelFilterBase));
  EXPECT_TRUE(BoundsOf(Picture(kBigKeyboard), kChannelColour[1]).isEmpty());
  DrawingSurface* history = Windows().Surface(kHistoryStrip);
  history->Image().fill(Qt::red);
  Drag(kHistoryStrip, Qt::LeftButton, {{30, 30}});
  EXPECT_TRUE(AllOf(history->Image(), history->Image().rect(), kWhite));
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
  midi.Calls.clear();
  ChoosePortB(300);
  EXPECT_THAT(midi.Calls, ElementsAre("close"));
  EXPECT_TRUE(program->Switch().Switching());
  // Meanwhile the song plays on (its sends lost), the buttons work, a chosen instrument waits.
  const int64_t before = State().SongPosition;
  Tick(60);
  EXPECT_GT(State().SongPosition, before);
  Click(kDoubleTempoButton);
  EXPECT_EQ(LabelText(kBpmLabel), "BPM 240");
  QTest::keyClick(Windows().InstrumentList(), Qt::Key_Down);
  EXPECT_THAT(messages.shown, IsEmpty());
  Sent();
  ASSERT_TRUE(QTest::qWaitFor([this] { return !program->Switch().Switching(); }, 10000));
  EXPECT_THAT(messages.shown, ElementsAre("Midi out now is :  1 Port B"));
  EXPECT_THAT(midi.Calls, ElementsAre("close", "open 1"));
  EXPECT_THAT(Sent(), ElementsAre(Word(0xC0, 19, 0)));
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
