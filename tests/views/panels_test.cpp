// The song map, loop bar, level bars, labels and lyric line, drawn into images.

#include <optional>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <QFontInfo>

#include "views/channel_displays.h"
#include "views/lyric_line.h"
#include "views/pixels.h"
#include "views/song_panels.h"
#include "views/surface.h"
#include "views/view_fonts.h"

namespace sonvela {
namespace {

// Tracks, and the events of each, count from 1 as the reader stores them: index 0 is left empty.
// Events are {status, note, velocity, tick}: 0x90 a note-on on channel 1, 0x99 on channel 10.
SongTables Song(std::vector<std::vector<TrackEvent>> tracks, int64_t length = 1000, int32_t claimed = 0) {
  SongTables tables;
  tables.TrackCount = claimed > 0 ? claimed : static_cast<int32_t>(tracks.size()) - 1;
  tables.LongestTrackTicks = length;
  tables.TrackEvents = std::move(tracks);
  return tables;
}

// Each panel in panels.png. Song maps: empty; a dot per note-on only, channel 10's green; a track read up to
// its first event past the end, the next one still; no length; more tracks claimed than held. Loop bars:
// range and position; neither; the grid over the position; a range given backwards. Level bars, also past
// 127, below 0 and in the window's narrow bar. Labels. The lyric line over a longer one, and an empty one.
TEST(Panels, EachPanelMatchesTheGoldenSheet) {
  const TrackEvent note = {0x90, 64, 100, 500};
  const SongTables songs[] = {
      {},
      Song({{}, {{}, note, {0x80, 64, 0, 700}, {0xB0, 64, 127, 500}}, {{}, {0x99, 100, 100, 320}}}),
      Song({{}, {{}, {0x90, 64, 100, 1000}, {0x90, 100, 100, 120}}, {{}, {0x90, 100, 100, 320}}}),
      Song({{}, {{}, note}}, 0),
      Song({{}, {{}, note}}, 1000, 5)};
  std::vector<QImage> sheet;
  for (const SongTables& song : songs) DrawSongMap(sheet.emplace_back(MakeSurface({500, 90})), song);
  const std::tuple<float, float, std::optional<double>> bars[] = {
      {20, 40, 0.33}, {0, 40, {}}, {0, 0, 0.5}, {60, 45, 0.5}};
  for (const auto& [start, end, played] : bars)
    DrawLoopBar(sheet.emplace_back(MakeSurface({500, 18})), start, end, played);
  for (int level : {64, 100, 300, 1, -5, 0}) DrawLevelBar(sheet.emplace_back(MakeSurface({22, 127})), level);
  for (int level : {127, 99}) DrawLevelBar(sheet.emplace_back(MakeSurface({18, 25})), level);
  for (const char* name : {"  Sax ", "19 Church Organ", "25 Acoustic Guitar(nylon)"})
    DrawInstrumentLabel(sheet.emplace_back(MakeSurface({106, 25})), name, kProgramShown);
  for (bool used : {false, true}) DrawChannelUsageLabel(sheet.emplace_back(MakeSurface({110, 29})), used);
  for (const char* line : {"Perché sì", ""}) {
    DrawLyricLine(sheet.emplace_back(MakeSurface({400, 40})), "A much longer line");
    DrawLyricLine(sheet.back(), line);
  }
  test::ExpectGoldenSheet(sheet, "panels.png");
  for (const QFont& font : {PanelFont(), LyricFont()})
    EXPECT_TRUE(QFontInfo(font).family() == "DejaVu Sans Mono" && QFontInfo(font).fixedPitch());
}

// Whatever the font's glyphs, long names with their shadow and three digits stay whole inside their panels,
// and only as much smaller as they need. On the full red bar the digits are what has any green in it.
TEST(Panels, LongTextFitsItsPanel) {
  for (const char* name : {"19 Church Organ", "47 Orchestral Strings", "25 Acoustic Guitar(nylon)"}) {
    QImage label = MakeSurface({106, 25});
    DrawInstrumentLabel(label, name, kProgramShown);
    const QRect box = test::BoundsWhere(label, [](QRgb rgb) { return rgb != qRgb(255, 255, 255); });
    EXPECT_TRUE(box.left() >= 1 && box.right() <= 104 && box.height() >= 8 && box.width() > 82) << name;
  }
  const auto digits = [](int level) {
    QImage bar = MakeSurface({18, 25});
    DrawLevelBar(bar, level);
    return test::BoundsWhere(bar, [](QRgb rgb) { return qGreen(rgb) > 0; });
  };
  const QRect three = digits(127);
  EXPECT_TRUE(three.left() >= 1 && three.right() <= 16 && three.top() < 4 && three.height() >= 6);
  EXPECT_GT(digits(99).height(), three.height());  // two digits keep the panels' size
}

TEST(LoopBar, PointerPercentAcrossThePanelClamped) {
  constexpr std::tuple<int, int, float> kCases[] = {{0, 500, 0},  {499, 500, 100}, {2, 501, 0.4f},
                                                    {-5, 500, 0}, {600, 500, 100}, {0, 1, 0}};
  for (const auto& [x, width, percent] : kCases) EXPECT_FLOAT_EQ(PointerPercent(x, width), percent) << x;
}

}  // namespace
}  // namespace sonvela
