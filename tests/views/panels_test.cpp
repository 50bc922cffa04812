// The song map, loop bar, level bars, labels and lyric line, drawn into images.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

#include "views/channel_displays.h"
#include "views/lyric_line.h"
#include "views/pixels.h"
#include "views/song_panels.h"
#include "views/surface.h"
#include "views/view_fonts.h"

namespace sonvela {
namespace {

using test::AllOf;
using test::BoundsOf;
using test::BoundsWhere;

TrackEvent NoteOn(int channel, int note, int64_t tick) {
  return {0x90 + channel - 1, note, 100, tick};
}

SongTables Song(std::vector<std::vector<TrackEvent>> tracks, int64_t length = 1000) {
  SongTables tables;
  tables.TrackCount = static_cast<int32_t>(tracks.size());
  tables.LongestTrackTicks = length;
  tables.TrackEvents.resize(1);
  for (auto& events : tracks) {
    events.insert(events.begin(), TrackEvent{});  // events count from 1
    tables.TrackEvents.push_back(std::move(events));
  }
  return tables;
}

// On a 500 x 90 map of a 1000-tick song, one dot per note-on inside the frame, green for channel 10:
// tick 500 of note 64 at (250, 45) (90 - 64 x 90 / 127 = 44.65), note 100 at row 19.
TEST(SongMap, OneDotPerNoteOnUpToTheEnd) {
  SongTables claims = Song({{NoteOn(1, 64, 500)}});
  claims.TrackCount = 5;  // more tracks than the table holds
  const QRect note64(250, 45, 1, 1);
  const QRect at320(160, 19, 1, 1);
  const std::tuple<const char*, SongTables, QRect, QRect> cases[] = {
      {"notes, note-off, controller",
       Song({{NoteOn(1, 64, 500), {0x80, 64, 0, 500}, {0xB0, 64, 127, 500}}, {NoteOn(10, 100, 320)}}), note64,
       at320},
      // Track 1 reaches the end first: its later (out of order) note is not read; track 2 still is.
      {"past the end", Song({{NoteOn(1, 64, 1000), NoteOn(1, 100, 120)}, {NoteOn(1, 100, 320)}}), at320, {}},
      {"no length", Song({{NoteOn(1, 64, 0)}}, 0), {}, {}},
      {"claims more tracks", claims, note64, {}}};
  QImage empty = MakeSurface({500, 90});
  DrawSongMap(empty, SongTables{});
  EXPECT_TRUE(AllOf(empty, QRect(0, 0, 500, 1), kWhite));
  EXPECT_TRUE(AllOf(empty, QRect(50, 1, 1, 89), kSongMapGrid));
  for (const auto& [what, song, notes, drums] : cases) {
    QImage map = MakeSurface({500, 90});
    DrawSongMap(map, song);
    const QImage inside = map.copy(1, 1, 498, 88);
    const auto dots = [&](Colour colour) {
      const QRect found = BoundsOf(inside, colour);
      return found.isEmpty() ? found : found.translated(1, 1);
    };
    EXPECT_EQ(dots(kSongMapNote), notes) << what;
    EXPECT_EQ(dots(kSongMapDrumNote), drums) << what;
    EXPECT_TRUE(!notes.isEmpty() || map == empty) << what;
  }
}

TEST(LoopBar, RedRangeWhitePositionYellowGridOnTop) {
  QImage bar = MakeSurface({500, 18});
  DrawLoopBar(bar, 20, 40, 0.33);
  EXPECT_TRUE(QRect(QPoint(101, 0), QPoint(199, 17)).contains(BoundsOf(bar, kLoopRange)));
  EXPECT_TRUE(AllOf(bar, QRect(QPoint(101, 9), QPoint(149, 9)), kLoopRange));
  EXPECT_TRUE(AllOf(bar, QRect(QPoint(166, 9), QPoint(199, 9)), kLoopRange));
  EXPECT_TRUE(AllOf(bar, QRect(100, 0, 1, 18), kLoopBarGrid));
  EXPECT_EQ(BoundsOf(bar, kPlayPosition), QRect(165, 0, 1, 18));
  DrawLoopBar(bar, 0, 40, std::nullopt);  // no loop start, a song of no length
  EXPECT_EQ(BoundsOf(bar, kLoopRange) | BoundsOf(bar, kPlayPosition), QRect());
  DrawLoopBar(bar, 0, 0, 0.5);  // the grid lies over the position line
  EXPECT_EQ(BoundsOf(bar, kPlayPosition), QRect());
  // Where the pointer is, clamped to the bar.
  for (const auto& [x, width, percent] :
       {std::tuple{0, 500, 0.0f}, {499, 500, 100.0f}, {2, 501, 0.4f}, {-5, 500, 0.0f}, {600, 500, 100.0f}})
    EXPECT_FLOAT_EQ(PointerPercent(x, width), percent) << x;
  EXPECT_FLOAT_EQ(PointerPercent(0, 1), 0);
}

TEST(LevelBar, RisesFromTheBottomInItsShadeOfBlueToRed) {
  // The top is 60 - level x 60 / 127, rounded; the panel is tall enough to see it below the digits.
  for (const auto& [level, colour, top] : {std::tuple{64, Rgb(129, 0, 126), 30},
                                           {100, Rgb(201, 0, 54), 20},
                                           {300, Rgb(255, 0, 0), 20},
                                           {1, Rgb(2, 0, 253), 60},
                                           {-5, kBlack, 60}}) {
    QImage bar = MakeSurface({22, 60});
    DrawLevelBar(bar, level);
    EXPECT_TRUE(top == 60 || AllOf(bar, QRect(0, top, 22, 60 - top), colour)) << level;
    EXPECT_TRUE(top == 20 || AllOf(bar, QRect(0, 20, 22, top - 20), kBlack)) << level;
  }
}

TEST(LevelBar, ShowsTheLevelInYellowCentredAtTheTopAndThreeDigitsFitTheNarrowBar) {
  QImage bar = MakeSurface({22, 29});
  DrawLevelBar(bar, 0);
  const QRect digits = BoundsWhere(bar, [](QRgb rgb) { return rgb != qRgb(0, 0, 0); });
  EXPECT_TRUE(digits.contains(BoundsOf(bar, kLevelTextColour)));
  EXPECT_LT(digits.bottom(), QFontMetrics(PanelFont()).height());
  EXPECT_NEAR(digits.center().x(), 11, 1);
  // Nothing but yellow (and its smoothed edges) on the black panel for level 0.
  EXPECT_EQ(BoundsWhere(bar, [](QRgb rgb) { return qRed(rgb) != qGreen(rgb) || qBlue(rgb) != 0; }), QRect());

  // The window's bar is 18 pixels wide inside its frame; "127" in the panels' size is wider. On the full
  // red bar the digits are what has any green in it: whole, centred, at the top, tall enough to read.
  const auto greenIn = [](int level) {
    QImage narrow = MakeSurface({18, 25});
    DrawLevelBar(narrow, level);
    return BoundsWhere(narrow, [](QRgb rgb) { return qGreen(rgb) > 0; });
  };
  const QRect three = greenIn(127);
  EXPECT_TRUE(three.left() >= 1 && three.right() <= 16 && three.top() < 4 && three.height() >= 6);
  EXPECT_NEAR(three.center().x(), 8.5, 1);
  EXPECT_GT(greenIn(99).height(), three.height());  // two digits keep the panels' size
}

// Blue text over a grey shadow on white: the text tints its pixels blue, the shadow leaves them grey.
QRect TextOf(const QImage& label) {
  return BoundsWhere(label, [](QRgb rgb) { return qBlue(rgb) > qRed(rgb); });
}
QRect ShadowOf(const QImage& label) {
  return BoundsWhere(label, [](QRgb rgb) { return qRed(rgb) == qBlue(rgb) && qRed(rgb) < 255; });
}

TEST(Label, CentresTheStrippedTextWithAGreyShadowTwoPixelsRightAndDown) {
  QImage label = MakeSurface({110, 29});
  DrawInstrumentLabel(label, "  Sax ", kProgramShown);
  const QRect text = TextOf(label);
  EXPECT_NEAR(text.center().x(), 55, 1.5);
  EXPECT_NEAR(text.center().y(), 14, 2);
  EXPECT_EQ(ShadowOf(label).bottomRight(), text.bottomRight() + QPoint(2, 2));
  EXPECT_FALSE(BoundsOf(label, kLabelShadowColour).isEmpty());
  EXPECT_EQ(BoundsWhere(label, [](QRgb rgb) { return rgb != qRgb(255, 255, 255); }), text | ShadowOf(label));
  QImage stripped = MakeSurface({110, 29});
  DrawLabel(stripped, "Sax", kWhite, kProgramShown);
  EXPECT_EQ(label, stripped);

  DrawChannelUsageLabel(label, false);
  DrawLabel(stripped, "Non usato !", Rgb(192, 192, 192), kBlack);
  EXPECT_EQ(label, stripped);
  DrawChannelUsageLabel(label, true);
  EXPECT_TRUE(AllOf(label, label.rect(), kWhite));
  for (const QFont& font : {PanelFont(), LyricFont()}) {
    EXPECT_EQ(QFontInfo(font).family(), "DejaVu Sans Mono");
    EXPECT_TRUE(QFontInfo(font).fixedPitch());
  }
}

TEST(Label, LongNamesStayWholeWithTheirShadowInsideTheLabel) {
  // 106 x 25 inside the window's frame; the longest names are cut at their end in the smallest size.
  for (const char* name : {"83 Lead 3 (calliope)", "47 Orchestral Strings", "25 Acoustic Guitar(nylon)"}) {
    QImage label = MakeSurface({106, 25});
    DrawInstrumentLabel(label, name, kProgramShown);
    const QRect text = TextOf(label);
    ASSERT_FALSE(text.isEmpty()) << name;
    EXPECT_TRUE(text.left() >= 1 && ShadowOf(label).right() <= 104 && text.height() >= 6) << name;
    EXPECT_EQ(ShadowOf(label).bottomRight(), text.bottomRight() + QPoint(2, 2)) << name;
    EXPECT_GT(text.width(), 80) << name;  // no needless shrinking
  }
}

TEST(LyricLine, DrawsTheWholeLineCentredInGreenAndReplacesTheLineBefore) {
  const auto drawn = [](const QString& line) {
    QImage panel = MakeSurface({400, 40});
    DrawLyricLine(panel, line);
    return panel;
  };
  const QImage panel = drawn("Hello");
  const QRect text = BoundsOf(panel, kLyricTextColour);
  EXPECT_EQ(test::PixelAt(panel, 0, 0), kLyricBackground);
  EXPECT_NEAR(text.center().x(), 200, 3);
  EXPECT_NEAR(text.center().y(), 20, 4);
  EXPECT_GT(text.width(), BoundsOf(drawn("Hel"), kLyricTextColour).width());
  // A new line leaves nothing of the longer one before it; an empty line is the empty panel.
  QImage reused = drawn("A much longer line of text");
  DrawLyricLine(reused, "Hello");
  EXPECT_EQ(reused, panel);
  DrawLyricLine(reused, QString());
  QImage empty = MakeSurface({400, 40});
  ClearLyricPanel(empty);
  EXPECT_EQ(reused, empty);
}

}  // namespace
}  // namespace sonvela
