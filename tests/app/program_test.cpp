// The program as a whole: start-up, the ways a song is chosen and played, the next song of Continuo, and the
// end.

#include <QMimeData>
#include <QUrl>

#include "app/program_bench.h"
#include "views/pixels.h"
#include "views/song_panels.h"

namespace sonvela::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Not;

// A note on channel 1 at the start, with program 5, a drum on channel 10 half a second in; it lasts 2 s.
const std::string kTwoChannels = Song(ProgramEvent(0, 1, 5) + NoteOn(0, 1, 60, 100) + NoteOff(96, 1, 60) +
                                      NoteOn(0, 10, 36, 80) + NoteOff(96, 10, 36) + Meta(192, 0x01, "end"));

std::vector<std::string> Entries(SongFileList* list) {
  std::vector<std::string> entries;
  for (int i = 0; i < list->Count(); ++i) entries.push_back(list->Entry(i));
  return entries;
}

using Program = ProgramBench;

TEST_F(Program, StartsWithTheOutputOpenTheClockRunningAndTheFolderListedInOrderIgnoringCase) {
  for (const char* name : {"b.mid", "Piece.MID", "a.kar", "notes.txt", "c.KAR", "mid"})
    Write(name, kTwoChannels);
  QDir(folder.path()).mkdir("folder.mid");
  StartProgram();
  EXPECT_THAT(Entries(Windows().SongFiles()), ElementsAre("a.kar", "b.mid", "c.KAR", "Piece.MID"));
  EXPECT_EQ(Windows().SongFiles()->Selected(), 0);
  EXPECT_THAT(midi.Calls, ElementsAre("open -1"));
  EXPECT_TRUE(timers->Running(kSecondSlot));
  EXPECT_FALSE(timers->Running(kSequencerSlot));
  EXPECT_EQ(program->TheLogs().Debug[0], "Numero devices Midi Out: 1");
  EXPECT_THAT(messages.shown, IsEmpty());
  // Nothing is played until a song is chosen, and nothing was chosen.
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
  EXPECT_EQ(Windows().SongFiles()->Count(), 0);
  EXPECT_FALSE(timers->Running(kSecondSlot));
  EXPECT_TRUE(Main().isVisible());
}

TEST_F(Program, TheCommandLineSongPlaysAtTheFirstPaint) {
  const std::string path = Write("My Song.mid", kTwoChannels);
  StartProgram(path);
  EXPECT_TRUE(program->CommandLineSong().empty());
  EXPECT_THAT(Sent(), Contains(Word(0x90, 60, 100)));
  EXPECT_EQ(Main().windowTitle(), Main().BaseTitle() + QString::fromStdString(path));
  EXPECT_EQ(program->TheLogs().Debug[1], path);
  EXPECT_TRUE(timers->Running(kSequencerSlot));
  // The song map shows the song: a white dot for the note, a green one for the drum.
  EXPECT_FALSE(BoundsOf(Picture(kSongMap), kSongMapDrumNote).isEmpty());
}

TEST_F(Program, TheListSelectsTheSongThatPlaysFromTheCommandLineOrADrop) {
  QDir(folder.path()).mkdir("Other");
  Write("Other/a.mid", kTwoChannels);
  const std::string song = Write("Other/b.mid", kTwoChannels);
  Write("Other/c.mid", kTwoChannels);
  Write("here.mid", kTwoChannels);
  StartProgram(song);
  EXPECT_EQ(QDir::currentPath(), folder.filePath("Other"));
  EXPECT_THAT(Entries(Windows().SongFiles()), ElementsAre("a.mid", "b.mid", "c.mid"));
  EXPECT_EQ(Windows().SongFiles()->Selected(), 1);

  const std::string dropped = Write("Other/c.mid", kTwoChannels);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped))});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Main(), &enter);
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Main(), &drop);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Tables().SongFileName == dropped; }));
  EXPECT_EQ(Windows().SongFiles()->Selected(), 2);
}

TEST_F(Program, ChoosingAnEntryOfTheListLoadsAndPlaysIt) {
  Write("a.mid", Song(NoteOn(0, 2, 64, 90) + NoteOff(96, 2, 64)));
  Write("b.mid", kTwoChannels);
  StartProgram();
  Sent();
  ClickSongEntry(1);
  const std::vector<uint32_t> sent = Sent();
  // Reset, then Play: the output opened again, silence, and the events at the start.
  EXPECT_THAT(sent, Contains(Word(0xC0, 5, 0)));
  EXPECT_EQ(sent.back(), Word(0x90, 60, 100));
  EXPECT_THAT(midi.Calls, ElementsAre("open -1", "close", "open -1"));
  EXPECT_EQ(Main().windowTitle(), Main().BaseTitle() + "b.mid");
  EXPECT_EQ(LabelText(kBpmLabel), "BPM 120");
  EXPECT_TRUE(Windows().Button(kPlayButton)->isEnabled());
  EXPECT_GT(Windows().List(kListingList)->model()->rowCount(), 5);
  EXPECT_GT(Windows().List(kEventTableList)->model()->rowCount(), 3);
  EXPECT_THAT(Tick(50), Contains(Word(0x99, 36, 80)));

  // Another entry while it plays: it stops and the other one starts at once.
  ClickSongEntry(0);
  EXPECT_EQ(Sent().back(), Word(0x91, 64, 90));
  EXPECT_EQ(Main().windowTitle(), Main().BaseTitle() + "a.mid");
}

TEST_F(Program, LoadChoosesAFileAndItsFolderBecomesTheListedOne) {
  Write("here.mid", kTwoChannels);
  QDir(folder.path()).mkdir("Other");
  Write("Other/Piece.MID", kTwoChannels);
  Write("Other/zz.kar", kTwoChannels);
  StartProgram();
  chosen = folder.filePath("Other/Piece.MID");
  Click(kLoadButton);
  EXPECT_EQ(dialogsOpened, 1);
  EXPECT_EQ(QDir::currentPath(), folder.filePath("Other"));
  EXPECT_THAT(Entries(Windows().SongFiles()), ElementsAre("Piece.MID", "zz.kar"));
  EXPECT_EQ(Windows().SongFiles()->Selected(), 0);
  EXPECT_EQ(Sent().back(), Word(0x90, 60, 100));
  EXPECT_EQ(Tables().SongFileName, chosen.toStdString());

  // Cancelled: the song is reset, the list shows the folder again, nothing plays, and Play says why.
  chosen.clear();
  Click(kLoadButton);
  EXPECT_THAT(Sent(), Not(Contains(Word(0x90, 60, 100))));
  EXPECT_FALSE(timers->Running(kSequencerSlot));
  EXPECT_EQ(Windows().SongFiles()->Count(), 2);
  Click(kPlayButton);
  EXPECT_THAT(messages.shown, ElementsAre("No midifile loaded!"));
}

TEST_F(Program, ADroppedSongFileIsLoadedAsLoadWouldAndOtherFilesAreRefused) {
  QDir(folder.path()).mkdir("Dropped");
  const std::string song = Write("Dropped/Tune.MID", kTwoChannels);
  const std::string text = Write("Dropped/notes.txt", "text");
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
  ASSERT_TRUE(QTest::qWaitFor([this] { return !Tables().SongFileName.empty(); }));
  EXPECT_EQ(Tables().SongFileName, song);
  EXPECT_EQ(dialogsOpened, 0);
  EXPECT_THAT(Entries(Windows().SongFiles()), ElementsAre("Tune.MID"));
  EXPECT_EQ(Sent().back(), Word(0x90, 60, 100));
}

TEST_F(Program, ContinuoPlaysTheNextEntryAndWrapsFromTheLastToTheFirst) {
  Write("a.mid", Song(NoteOn(0, 2, 64, 90) + NoteOff(96, 2, 64)));
  Write("b.mid", kTwoChannels);
  StartProgram();
  ClickSongEntry(1);
  Click(kContinuoToggle);
  Tick(200);
  ASSERT_EQ(State().PlayStatus, "finito");
  Sent();
  timers->Tick(*program, kSecondSlot);
  EXPECT_EQ(Windows().SongFiles()->Selected(), 0);
  EXPECT_EQ(Main().windowTitle(), Main().BaseTitle() + "a.mid");
  const std::vector<uint32_t> sent = Sent();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), Word(0x91, 64, 90));
  EXPECT_EQ(State().PlayStatus, "suono");
}

TEST_F(Program, AnEntryThatCannotBeReadSaysWhyAndPlaysNothing) {
  Write("gone.mid", kTwoChannels);
  Write("junk.mid", "not a song");
  StartProgram();
  ASSERT_TRUE(QFile::remove(folder.filePath("gone.mid")));
  Sent();
  ClickSongEntry(0);
  // The reader says why, and the loader that it has nothing to read.
  EXPECT_THAT(messages.shown,
              ElementsAre("Impossibile leggere il file \"gone.mid\": No such file or directory",
                          "No midi file loaded!"));
  EXPECT_EQ(Sent(), AllNotesOffWords());  // the reset only
  EXPECT_FALSE(timers->Running(kSequencerSlot));
  EXPECT_TRUE(Windows().Button(kPlayButton)->isEnabled());
  // Whatever the reader makes of a file that is no song, the program goes on.
  ClickSongEntry(1);
  Tick(20);
  Click(kPlayButton);
  Tick(20);
  EXPECT_TRUE(Main().isVisible());
}

TEST_F(Program, CreateComposesIntoTheCurrentFolderAndPlaysIt) {
  StartProgram();
  Click(kCreateButton);
  EXPECT_TRUE(QFile::exists(folder.filePath("creato.mid")));
  EXPECT_EQ(Tables().SongFileName, "creato.mid");
  EXPECT_THAT(Sent(), Contains(Word(0xC0, 82, 0)));
  EXPECT_TRUE(timers->Running(kSequencerSlot));
  EXPECT_EQ(Main().windowTitle(), Main().BaseTitle() + "creato.mid");
}

TEST_F(Program, EscapeShutsDownInOrderAndOnlyOnce) {
  Write("a.mid", kTwoChannels);
  StartProgram();
  ClickSongEntry(0);
  Sent();
  QTest::keyClick(&Main(), Qt::Key_Escape);
  EXPECT_FALSE(Main().isVisible());
  for (int slot = 1; slot <= 3; ++slot) EXPECT_FALSE(timers->Running(slot)) << slot;
  EXPECT_EQ(Sent(), AllNotesOffWords());
  EXPECT_EQ(midi.Calls.back(), "close");
  program->Shutdown();
  EXPECT_THAT(Sent(), IsEmpty());
}

using ProgramMidiIn = ProgramBench;

TEST_F(ProgramMidiIn, ShutdownClosesTheInputFirstThenLetsTheNotesGoThenClosesTheOutput) {
  size_t sentWhenInputClosed = 0;
  midiIn.onClose = [this, &sentWhenInputClosed] {
    midi.Calls.push_back("input close");
    sentWhenInputClosed = midi.Sent.size();
  };
  StartProgram();
  // Held low on key 61 (middle C, white slot 35) of channel 2's keyboard.
  const int keyboard2 = kChannelKeyboardBase + 1;
  DrawingSurface* surface = Windows().Surface(keyboard2);
  const int white = static_cast<int>(std::lrint(surface->Image().width() / 63.0));
  Press(keyboard2, Qt::LeftButton,
        QPoint(35 * white + white / 2, surface->Image().height() - 3) + surface->contentsRect().topLeft());
  Click(kNoteTestButton);
  ASSERT_TRUE(program->TheNoteTest().Running());
  Sent();
  const size_t sentBefore = midi.Sent.size();

  QTest::keyClick(&Main(), Qt::Key_Escape);
  midiIn.onClose = nullptr;
  EXPECT_THAT(midiIn.calls, ElementsAre("open 0", "start", "stop", "close"));
  EXPECT_THAT(midi.Calls, ElementsAre("open -1", "input close", "close"));
  EXPECT_EQ(sentWhenInputClosed, sentBefore);
  // The note test's note, the held key's note, then every channel silenced.
  EXPECT_THAT(Sent(), ElementsAreArray(Join({{Word(0x80, 48, 0), Word(0x81, 60, 0)}, AllNotesOffWords()})));
  EXPECT_FALSE(program->TheNoteTest().Running());
  // Input played now reaches nothing.
  midiIn.Play(Word(0x90, 60, 100));
  QCoreApplication::processEvents();
  EXPECT_THAT(Sent(), IsEmpty());
}

}  // namespace
}  // namespace sonvela::test
