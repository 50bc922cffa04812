#include "views/song_panels.h"

#include <gtest/gtest.h>

#include "views/pixels.h"
#include "views/surface.h"

namespace sonvela {
namespace {

using test::AllOf;
using test::BoundsOf;
using test::PixelAt;

constexpr int64_t kLength = 1000;
constexpr int kNote64Row = 45;   // 90 - 64 x 90 / 127 = 44.65
constexpr int kNote100Row = 19;  // 90 - 100 x 90 / 127 = 19.13

TrackEvent NoteOn(int channel, int note, int64_t tick) {
  return {0x90 + channel - 1, note, 100, tick};
}

// Tracks 1.. of the given events; slot 0 of every table holds nothing.
SongTables Song(std::vector<std::vector<TrackEvent>> tracks, int64_t length = kLength) {
  SongTables tables;
  tables.TrackCount = static_cast<int32_t>(tracks.size());
  tables.LongestTrackTicks = length;
  tables.TrackEvents.resize(1);
  for (auto& events : tracks) {
    events.insert(events.begin(), TrackEvent{});
    tables.TrackEvents.push_back(std::move(events));
  }
  return tables;
}

TEST(SongMap, OneDotPerNoteOnGreenForChannelTen) {
  QImage map = MakeSurface({500, 90});
  DrawSongMap(map,
              Song({{NoteOn(1, 64, 500), {0x80, 64, 0, 500}, {0xB0, 64, 127, 500}}, {NoteOn(10, 100, 320)}}));
  EXPECT_EQ(PixelAt(map, 250, kNote64Row), kSongMapNote);
  EXPECT_EQ(PixelAt(map, 160, kNote100Row), kSongMapDrumNote);
  // Background, frame and grid; nothing else.
  EXPECT_EQ(PixelAt(map, 251, kNote64Row), kSongMapBackground);
  EXPECT_TRUE(AllOf(map, QRect(0, 0, 500, 1), kWhite));
  EXPECT_TRUE(AllOf(map, QRect(499, 0, 1, 90), kWhite));
  EXPECT_TRUE(AllOf(map, QRect(50, 1, 1, 89), kSongMapGrid));
  EXPECT_EQ(BoundsOf(map, kSongMapNote, QRect(1, 1, 498, 88)), QRect(250, kNote64Row, 1, 1));
  EXPECT_EQ(BoundsOf(map, kSongMapDrumNote), QRect(160, kNote100Row, 1, 1));
}

TEST(SongMap, NotesAtTheEndAndAfterThemAreLeftOut) {
  QImage map = MakeSurface({500, 90});
  // Track 1 reaches the end first: its later (out of order) note is not read; track 2 still is.
  DrawSongMap(map, Song({{NoteOn(1, 64, kLength), NoteOn(1, 100, 120)}, {NoteOn(1, 100, 320)}}));
  EXPECT_EQ(PixelAt(map, 60, kNote100Row), kSongMapBackground);
  EXPECT_EQ(BoundsOf(map, kSongMapNote, QRect(1, 1, 498, 88)), QRect(160, kNote100Row, 1, 1));
}

TEST(SongMap, NoSongShowsTheEmptyMap) {
  QImage empty = MakeSurface({500, 90});
  DrawSongMap(empty, SongTables{});
  QImage noLength = MakeSurface({500, 90});
  DrawSongMap(noLength, Song({{NoteOn(1, 64, 0)}}, 0));
  EXPECT_EQ(noLength, empty);
  EXPECT_EQ(BoundsOf(empty, kSongMapNote, QRect(1, 1, 498, 88)), QRect());
  // A table claiming more tracks than it holds.
  SongTables claims = Song({{NoteOn(1, 64, 500)}});
  claims.TrackCount = 5;
  DrawSongMap(noLength, claims);
  EXPECT_EQ(PixelAt(noLength, 250, kNote64Row), kSongMapNote);
  QImage none;
  DrawSongMap(none, claims);
}

TEST(LoopBar, RedRangeWhitePositionYellowGridOnTop) {
  QImage bar = MakeSurface({500, 18});
  DrawLoopBar(bar, 20, 40, 0.33);
  const QRect range(QPoint(101, 0), QPoint(199, 17));
  EXPECT_TRUE(AllOf(bar, QRect(QPoint(101, 9), QPoint(149, 9)), kLoopRange));
  EXPECT_TRUE(AllOf(bar, QRect(QPoint(151, 9), QPoint(164, 9)), kLoopRange));
  EXPECT_TRUE(AllOf(bar, QRect(QPoint(166, 9), QPoint(199, 9)), kLoopRange));
  EXPECT_EQ(PixelAt(bar, 99, 9), kLoopBarBackground);
  EXPECT_EQ(PixelAt(bar, 201, 9), kLoopBarBackground);
  EXPECT_TRUE(range.contains(BoundsOf(bar, kLoopRange)));
  EXPECT_TRUE(AllOf(bar, QRect(100, 0, 1, 18), kLoopBarGrid));  // the grid is drawn over the range
  EXPECT_TRUE(AllOf(bar, QRect(200, 0, 1, 18), kLoopBarGrid));
  EXPECT_EQ(BoundsOf(bar, kPlayPosition), QRect(165, 0, 1, 18));

  DrawLoopBar(bar, 0, 40, std::nullopt);
  EXPECT_EQ(BoundsOf(bar, kLoopRange), QRect());
  EXPECT_EQ(BoundsOf(bar, kPlayPosition), QRect());
  EXPECT_EQ(PixelAt(bar, 0, 0), kLoopBarBackground);
  // The position line sits under the grid where they meet.
  DrawLoopBar(bar, 0, 0, 0.5);
  EXPECT_EQ(BoundsOf(bar, kPlayPosition), QRect());
}

TEST(PointerPercent, FromTheLeftEdgeToTheRightOne) {
  EXPECT_FLOAT_EQ(PointerPercent(0, 500), 0);
  EXPECT_FLOAT_EQ(PointerPercent(499, 500), 100);
  EXPECT_FLOAT_EQ(PointerPercent(2, 501), 0.4f);
  EXPECT_FLOAT_EQ(PointerPercent(600, 500), 100);
  EXPECT_FLOAT_EQ(PointerPercent(-5, 500), 0);
  EXPECT_FLOAT_EQ(PointerPercent(0, 1), 0);
  EXPECT_FLOAT_EQ(PointerPercent(3, 0), 0);
}

}  // namespace
}  // namespace sonvela
