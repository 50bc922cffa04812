// The karaoke window's lines and where the singing is at a song position.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "player/song_time.h"
#include "session/karaoke_lines.h"
#include "song/test_support.h"

namespace sonvela {
namespace {

using namespace test;
using ::testing::ElementsAreArray;

KaraokeLines LinesOf(const std::string& song) {
  LoadedSong loaded;
  Load(loaded, song);
  return BuildKaraokeLines(loaded.tables());
}

TEST(KaraokeLines, LinesBreakAtTheMarksAndAtLyricLineBreaks) {
  const struct {
    const char* what;
    std::string song;
    std::vector<std::string> lines;
  } cases[] = {
      {"text events",
       Header(0, 1, 96) + Track(Meta(0, 1, "\\Hel") + Meta(10, 1, "lo ") + Meta(10, 1, "/wor") +
                                Meta(10, 1, "ld") + kEndOfTrack),
       {"Hello ", "world"}},
      {"empty lines go",
       Header(0, 1, 96) + Track(Meta(0, 1, "\\") + Meta(0, 1, "/A") + Meta(5, 1, "/") + kEndOfTrack),
       {"A"}},
      {"lyric events",
       Header(0, 1, 96) + Track(Meta(0, 5, "Twin") + Meta(10, 5, "kle\r\n") + Meta(10, 5, "lit") +
                                Meta(10, 5, "tle") + Meta(10, 5, "/How") + kEndOfTrack),
       {"Twinkle", "little", "How"}},
      {"text events win over lyric events",
       Header(0, 1, 96) +
           Track(Meta(0, 5, "other\n") + Meta(0, 1, "Sing") + Meta(5, 5, "more") + kEndOfTrack),
       {"Sing"}},
      {"tracks merged by tick",
       Header(1, 2, 96) + Track(Meta(0, 1, "A") + Meta(20, 1, "C") + kEndOfTrack) +
           Track(Meta(10, 1, "B") + Meta(20, 1, "/D") + kEndOfTrack),
       {"ABC", "D"}},
      {"no words", Header(0, 1, 96) + Track(Meta(0, 3, "Title") + kEndOfTrack), {}},
  };
  for (const auto& c : cases) EXPECT_THAT(LinesOf(c.song).Lines, ElementsAreArray(c.lines)) << c.what;
}

TEST(KaraokeLines, ThePlaceAtAPositionHoldsInAnyOrderOfPositions) {
  const KaraokeLines lines =
      LinesOf(Header(0, 1, 96) + Track(Meta(5, 1, "\\Hel") + Meta(10, 1, "lo") + Meta(10, 1, "/wor") +
                                       Meta(10, 1, "ld") + kEndOfTrack));
  // Ticks 5, 15, 25, 35; forwards, then back as a seek or a loop restart takes it, then Stop's 0.
  const struct {
    int64_t tick;
    KaraokePlace place;
  } cases[] = {{0, {0, 0}},  {5, {0, 3}},  {14, {0, 3}}, {15, {0, 5}}, {25, {1, 3}},
               {99, {1, 5}}, {16, {0, 5}}, {24, {0, 5}}, {35, {1, 5}}, {0, {0, 0}}};
  for (const auto& c : cases) {
    const KaraokePlace place = lines.At(DueTimeOfTick(c.tick));
    EXPECT_EQ(place, c.place) << c.tick << ": " << place.line << " " << place.sungBytes;
  }
  EXPECT_EQ(lines.After(0), "world");
  EXPECT_EQ(lines.After(1), "");
  EXPECT_EQ(LinesOf(Header(0, 1, 96) + Track(kEndOfTrack)).At(0), KaraokePlace{});
}

}  // namespace
}  // namespace sonvela
