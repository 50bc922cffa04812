// The parts under the transport: MIDI primitives, the capture output and song time.

#include <cstdint>
#include <limits>

#include "player/midi_primitives.h"
#include "player/player_bench.h"
#include "player/song_time.h"

namespace sonvela {
namespace {

TEST(MidiPrimitives, SilenceAllRestsEveryChannelAndProgramChangeNeedsAnOpenOutput) {
  RecordingMidiOut midi;
  RecordingScreen screen;
  SilenceAll(midi, screen);  // the words themselves are checked at every Pause and Stop
  for (int channel = 0; channel < 16; ++channel) EXPECT_EQ(screen.levels[kLevelBarBase + channel].back(), 0);
  EXPECT_EQ(screen.keys.back().id, kBigKeyboard);
  midi.Sent.clear();
  EXPECT_FALSE(ProgramChange(midi, 18, 0));
  EXPECT_TRUE(midi.Sent.empty());
  ASSERT_TRUE(OpenDefaultMidiOut(midi));
  EXPECT_TRUE(ProgramChange(midi, 18, 2));
  ASSERT_EQ(midi.Sent.size(), 1u);
  EXPECT_EQ(midi.Sent[0].word, Word(0xC2, 18, 0));
}

TEST(CaptureMidiOut, RecordsFromItsStartInMillisecondsWithThreeDecimals) {
  double now = 100;
  CaptureMidiOut capture([&now] { return now; });
  capture.Send(Word(0x90, 1, 1));  // before the start: not kept
  capture.StartRecording();
  now += 12.5;
  capture.Send(Word(144, 60, 100));
  ASSERT_EQ(capture.Messages().size(), 1u);
  EXPECT_EQ(CaptureLine(capture.Messages()[0]), "12.500\t144\t60\t100");
}

TEST(SongTime, ProductsAndSumsStopAtTheLimitKeepingTheirSign) {
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  EXPECT_EQ(DueTimeOfTick(96), 5760000);
  EXPECT_EQ(DueTimeOfTick(int64_t{1} << 50), kSongTimeLimit);
  EXPECT_EQ(SongTimeProduct(kSongTimeLimit, 1), kSongTimeLimit);
  EXPECT_EQ(SongTimeProduct(-3, int64_t{1} << 61), -kSongTimeLimit);
  EXPECT_EQ(SongTimeProduct(kMin, kMin), kSongTimeLimit);
  EXPECT_EQ(SongTimeProduct(0, kMin), 0);
  EXPECT_EQ(SongTimeProduct(-7, -6), 42);
  EXPECT_EQ(SongTimeSum(kSongTimeLimit, kSongTimeLimit), kSongTimeLimit);
  EXPECT_EQ(SongTimeSum(kMin, -1), -kSongTimeLimit);
  EXPECT_EQ(SongTimeSum(-5, 3), -2);
}

}  // namespace
}  // namespace sonvela
