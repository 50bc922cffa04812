// The karaoke window on the real program: opened from the lyric line's menu and by its key, following the
// song position, full screen on F11.

#include <QContextMenuEvent>
#include <QMenu>

#include "app/charset_choice.h"
#include "app/program_bench.h"
#include "views/karaoke_view.h"
#include "views/pixels.h"

namespace sonvela::test {
namespace {

// Syllables every 20 song ticks (about 100 ms of the song clock), two lines.
const std::string kTwoLines = Song(Meta(0, 1, "\\Sing") + Meta(20, 1, "ing ") + Meta(20, 1, "now") +
                                   Meta(20, 1, "/Next") + Meta(20, 1, " line") + Meta(200, 1, ""));

class Karaoke : public ProgramBench {
 protected:
  KaraokeWindow& Window() { return Windows().Karaoke(); }
  QRect Where(Colour colour) { return BoundsOf(Window().Image(), colour); }
  // The lyric line's menu, as a right click opens it; the entry that starts with `entry` is chosen, and
  // the first checked one's text (the charset's) returned.
  QString UseLyricMenu(const QString& entry = {}) {
    QWidget* lyric = Windows().Control(kLyricPanel);
    QContextMenuEvent event(QContextMenuEvent::Mouse, {10, 10}, lyric->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(lyric, &event);
    auto* menu = lyric->findChild<QMenu*>();
    QString checked;
    for (QAction* action : menu->actions()) {
      if (action->isChecked() && checked.isEmpty()) checked = action->text();
    }
    for (QAction* action : menu->actions()) {
      if (!entry.isEmpty() && action->text().startsWith(entry)) {
        action->trigger();
        break;
      }
    }
    menu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return checked;
  }
  void ChooseFromLyricMenu(const QString& entry = "Finestra karaoke") { UseLyricMenu(entry); }
  QString Checked() { return UseLyricMenu(); }
};

TEST_F(Karaoke, ShowsTheWholeLineColouredAsSungAndTheNextBelowFollowingEverySeek) {
  Write("song.kar", kTwoLines);
  StartProgram();
  ChooseFromLyricMenu();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
  ClickSongEntry(0);
  // "Sing" sung, "ing now" to come; "Next line" below, narrower colour band.
  const QRect sung = Where(kKaraokeSungColour), rest = Where(kKaraokeLineColour);
  const QRect next = Where(kKaraokeNextColour);
  ASSERT_FALSE(sung.isEmpty() || rest.isEmpty() || next.isEmpty());
  EXPECT_LT(sung.right(), rest.left() + 2);
  EXPECT_GT(next.top(), rest.bottom());
  Tick(15);  // "ing " too
  EXPECT_GT(Where(kKaraokeSungColour).width(), sung.width() * 3 / 2);
  EXPECT_EQ(Where(kKaraokeNextColour), next);
  Tick(20);  // the second line, half sung, nothing after it
  EXPECT_TRUE(Where(kKaraokeNextColour).isEmpty());
  EXPECT_FALSE(Where(kKaraokeSungColour).isEmpty() || Where(kKaraokeLineColour).isEmpty());

  // Back to the start on the song map: the first line again, sung up to the position.
  Click(kSongMap, Qt::LeftButton, {3, 5});
  QImage expected(Window().Image().size(), QImage::Format_RGB32);
  const KaraokeText first{.sung = "Sing", .unsung = "ing now", .next = "Next line"};
  DrawKaraoke(expected, first, KaraokeTypeSize(expected.size(), first));
  EXPECT_EQ(Window().Image(), expected);
  Click(kStopButton);
  EXPECT_EQ(Window().Image(), expected);
}

TEST_F(Karaoke, ASongWithoutWordsSaysSoAndF11AndEscapeGoFullScreenAndBack) {
  Write("song.mid", Song(NoteOn(0, 1, 60, 100) + NoteOff(96, 1, 60)));
  StartProgram();
  ClickSongEntry(0);
  Main().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
  QTest::keyClick(&Main(), Qt::Key_K, Qt::ControlModifier);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
  QImage expected(Window().Image().size(), QImage::Format_RGB32);
  KaraokeText none;
  none.noLyrics = true;
  DrawKaraoke(expected, none, KaraokeTypeSize(expected.size(), none));
  EXPECT_EQ(Window().Image(), expected);
  EXPECT_FALSE(Where(kKaraokeNextColour).isEmpty());

  for (const auto& [key, fullScreen, shown] : {std::tuple{Qt::Key_F11, true, true},
                                               {Qt::Key_F11, false, true},
                                               {Qt::Key_F11, true, true},
                                               {Qt::Key_Escape, false, true},
                                               {Qt::Key_Escape, false, false}}) {
    QTest::keyClick(&Window(), key);
    EXPECT_EQ(Window().isFullScreen(), fullScreen) << key;
    EXPECT_EQ(Window().isVisible(), shown) << key;
    if (fullScreen) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return Window().geometry() == Window().screen()->geometry(); }));
    }
  }
  // Closed by Escape: the program knows, and the main window goes on.
  EXPECT_FALSE(program->Session().View().Shown(ToolWindowKind::kKaraoke));
  EXPECT_FALSE(Main().HasEnded());
}

// A Russian song in Windows-1251: detected; another charset chosen on the menu shows every text anew and is
// kept for the next runs; a SONVELA_CHARSET the program does not know is ignored and said so.
TEST_F(Karaoke, TheLyricLineMenuChoosesTheCharsetOfTheSongsTextsAndKeepsIt) {
  std::string words;
  for (const char* syllable : {"\\\xCF\xF3\xF1\xF2\xFC ", "\xE2\xF1\xE5\xE3\xE4\xE0 ",
                               "\xE1\xF3\xE4\xE5\xF2 ", "\xF1\xEE\xEB\xED\xF6\xE5", "/\xED\xE5\xE1\xEE"})
    words += Meta(20, 1, syllable);
  Write("song.kar", Song(words));
  qputenv("SONVELA_CHARSET", "klingon");
  StartProgram();
  qunsetenv("SONVELA_CHARSET");
  EXPECT_EQ(program->TheLogs().Debug.ToVector()[0],
            "SONVELA_CHARSET=\"klingon\" is not a charset Sonvela knows: ignored.");
  program->ChooseCharset("Automatico");
  ClickSongEntry(0);
  const auto shown = [this](const char* text) {
    const LineListModel& model = Windows().List(kListingList)->Model();
    return !model.match(model.index(0), Qt::DisplayRole, QString::fromUtf8(text), 1, Qt::MatchContains)
                .isEmpty();
  };
  EXPECT_TRUE(shown("Пусть"));
  ChooseFromLyricMenu();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
  const QImage detected = Window().Image();
  EXPECT_EQ(Checked(), "Automatico");

  ChooseFromLyricMenu("KOI8-R");
  EXPECT_TRUE(shown("оСЯРЭ"));
  EXPECT_NE(Window().Image(), detected);
  ChooseFromLyricMenu("Windows-1252");
  EXPECT_EQ(Checked(), "Windows-1252");
  TextDecoder next;
  ChooseStartCharset(next, program->TheLogs());
  EXPECT_EQ(next.Chosen(), "WINDOWS-1252");
  program->ChooseCharset("Automatico");  // as the next test run expects to find it
  EXPECT_TRUE(shown("Пусть"));
}

}  // namespace
}  // namespace sonvela::test
