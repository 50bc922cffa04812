#include "views/song_panels.h"

#include <gtest/gtest.h>

#include "views/pixels.h"
#include "views/surface.h"

namespace sonvela {
namespace {

using test::AllOf;
using test::BoundsOf;

// On a 500 x 90 map of a 1000-tick song: note 64 at row 45 (90 - 64 x 90 / 127 = 44.65), note 100 at 19.
constexpr int kNote64Row = 45;
constexpr int kNote100Row = 19;

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

// The dots inside the frame.
QRect Dots(const QImage& map, Colour colour) {
  const QRect inside = BoundsOf(map.copy(1, 1, 498, 88), colour);
  return inside.isEmpty() ? inside : inside.translated(1, 1);
}

TEST(SongMap, OneDotPerNoteOnGreenForChannelTen) {
  QImage map = MakeSurface({500, 90});
  DrawSongMap(map,
              Song({{NoteOn(1, 64, 500), {0x80, 64, 0, 500}, {0xB0, 64, 127, 500}}, {NoteOn(10, 100, 320)}}));
  EXPECT_EQ(Dots(map, kSongMapNote), QRect(250, kNote64Row, 1, 1));
  EXPECT_EQ(Dots(map, kSongMapDrumNote), QRect(160, kNote100Row, 1, 1));
  EXPECT_TRUE(AllOf(map, QRect(0, 0, 500, 1), kWhite));
  EXPECT_TRUE(AllOf(map, QRect(50, 1, 1, 89), kSongMapGrid));
}

TEST(SongMap, NotesFromTheEndOnAreLeftOut) {
  QImage map = MakeSurface({500, 90});
  // Track 1 reaches the end first: its later (out of order) note is not read; track 2 still is.
  DrawSongMap(map, Song({{NoteOn(1, 64, 1000), NoteOn(1, 100, 120)}, {NoteOn(1, 100, 320)}}));
  EXPECT_EQ(Dots(map, kSongMapNote), QRect(160, kNote100Row, 1, 1));

  // No song, a song of no length, a table claiming more tracks than it holds: background, frame and grid.
  QImage empty = MakeSurface({500, 90});
  DrawSongMap(empty, SongTables{});
  EXPECT_EQ(Dots(empty, kSongMapNote), QRect());
  DrawSongMap(map, Song({{NoteOn(1, 64, 0)}}, 0));
  EXPECT_EQ(map, empty);
  SongTables claims = Song({{NoteOn(1, 64, 500)}});
  claims.TrackCount = 5;
  DrawSongMap(map, claims);
  EXPECT_EQ(Dots(map, kSongMapNote), QRect(250, kNote64Row, 1, 1));
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
}

TEST(PointerPercent, FromTheLeftEdgeToTheRightOne) {
  EXPECT_FLOAT_EQ(PointerPercent(0, 500), 0);
  EXPECT_FLOAT_EQ(PointerPercent(499, 500), 100);
  EXPECT_FLOAT_EQ(PointerPercent(2, 501), 0.4f);
  EXPECT_FLOAT_EQ(PointerPercent(-5, 500), 0);
  EXPECT_FLOAT_EQ(PointerPercent(0, 1), 0);
}

}  // namespace
}  // namespace sonvela
