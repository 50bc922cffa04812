// What the transport shows and logs, and what the random sessions of cursor_placement_test.cpp never reach.

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "player/midi_primitives.h"
#include "player/player_bench.h"
#include "player/progress_text.h"
#include "player/song_time.h"

namespace sonvela {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::StartsWith;

using TransportTest = PlayerBench;

// What a failed output does is pinned by the random sessions; a Play without a song cannot happen there.
TEST_F(TransportTest, PlayWithoutASongSaysSo) {
  EXPECT_THAT(Start(), IsEmpty());
  EXPECT_THAT(screen.messages, ElementsAre("No midifile loaded!"));
}

TEST_F(TransportTest, HalvingRoundsToEvenAndDoublingStopsShortOfOverflow) {
  Play({{0x90, 1, 1, 1000}});
  constexpr std::array<std::array<int, 3>, 6> kTempos = {{{121, 60, 242},
                                                          {122, 61, 244},
                                                          {3, 2, 6},
                                                          {123, 62, 246},
                                                          {500000, 250000, 1000000},
                                                          {500001, 250000, 500001}}};
  for (const auto& [from, halved, doubled] : kTempos) {
    song.TempoBpm = from;
    transport.HalveTempo();
    EXPECT_EQ(song.TempoBpm, halved) << from;
    song.TempoBpm = from;
    transport.DoubleTempo();
    EXPECT_EQ(song.TempoBpm, doubled) << from;
  }
}

// The random sessions pin the progress text; they never show a value that is not finite, nor a song of no
// length.
TEST_F(TransportTest, TheProgressTextShowsZeroForWhatItCannotTell) {
  std::string text = "old";
  FormatProgressText(text, 0.04, std::numeric_limits<double>::infinity(), std::nan(""));
  EXPECT_EQ(text, "Tempo:   0.0 s  (   0.0 s)   0.0% ");
  // A song of no length ends at once and has nowhere to seek to.
  Play({}, -1, 0, 0);
  Tick();
  EXPECT_EQ(transport.State().PlayStatus, "finito");
  EXPECT_EQ(screen.texts[kProgressLabel], "Tempo:   0.0 s  (   0.0 s)   0.0% ");
  transport.ContinueFromPercent(50);
  EXPECT_EQ(transport.State().SongPosition, 0);
  EXPECT_EQ(PlayedPercent(210, 0), 0);
}

TEST(LoopEndPosition, IsTheFirstPositionWhoseFractionReachesTheMark) {
  for (const int64_t length : {int64_t{1}, int64_t{3}, int64_t{1824}, int64_t{1} << 40}) {
    for (const double percent : {0.001f, 1.0001f, 33.3f, 99.99f, 100.0f, 150.0f}) {
      SCOPED_TRACE(testing::Message() << length << " " << percent);
      const auto position = FirstPositionAtFraction(percent / 100, length);
      ASSERT_TRUE(position.has_value());
      EXPECT_GE(PlayedFraction(*position, length), percent / 100);
      EXPECT_LT(PlayedFraction(*position - 1, length), percent / 100);
    }
  }
  EXPECT_EQ(FirstPositionAtFraction(0.5, 0), std::nullopt);
}

// Each delta of a file may be 2^31 - 1, so an event can lie past any 64-bit song time.
TEST_F(TransportTest, SongTimesBeyondSixtyFourBitsStopAtTheLimitInsteadOfWrapping) {
  constexpr int64_t kFarTick = int64_t{1} << 50;
  Play({{0x90, 60, 100, 0}, {0x80, 60, 0, kFarTick}}, -1, 96, 120);
  EXPECT_THAT(Tick(100), IsEmpty());
  EXPECT_THAT(screen.texts[kProgressLabel], EndsWith("   0.0% "));
  transport.ContinueFromPercent(50);
  EXPECT_GT(transport.State().SongPosition, 100 * 96 * 120 * 10);
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  Play({{0x90, 60, 100, 0}, {0x80, 60, 0, kFarTick}}, -1, kMax, kMax);
  EXPECT_EQ(Tick(2).front(), Word(0x80, 60, 0));
  EXPECT_EQ(transport.State().PlayStatus, "finito");
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min(), kLimit = kSongTimeLimit;
  for (const auto& [a, b, product, sum] :
       {std::tuple<int64_t, int64_t, int64_t, int64_t>{kLimit, 1, kLimit, kLimit},
        {-3, int64_t{1} << 61, -kLimit, (int64_t{1} << 61) - 3},
        {kMin, kMin, kLimit, -kLimit},
        {0, kMin, 0, -kLimit},
        {-7, -6, 42, -13},
        {kLimit, kLimit, kLimit, kLimit}}) {
    EXPECT_EQ(SongTimeProduct(a, b), product) << a << " x " << b;
    EXPECT_EQ(SongTimeSum(a, b), sum) << a << " + " << b;
  }
  EXPECT_EQ(DueTimeOfTick(kFarTick), kSongTimeLimit);
}

TEST_F(TransportTest, ResetClearsTheSongAndTheChannelsAndKillingStopsEveryTimer) {
  Play({{0x90, 60, 100, 0}, {0x80, 60, 0, 1000}});
  document.EventTable.Show(document);
  transport.ToggleChannel(3);
  transport.ResetSong();
  EXPECT_EQ(transport.State().ChannelMuted[3], 0);
  EXPECT_EQ(song.TrackCount, 0);
  EXPECT_TRUE(document.EventTable.Empty());
  transport.StartSecondTick();
  transport.KillAllTimers();
  EXPECT_EQ(timers.running, decltype(timers.running){});
}

TEST_F(TransportTest, IntroStopsAfterFourSecondsOnTheMonotonicClockWhateverTheTimeOfDayDoes) {
  transport.ToggleIntro();
  clock.ms = SettableClock::kMsPerDay - 1000;  // a second before midnight
  Play({{0x90, 60, 100, 0}}, 100000);
  Tick(200);                             // past midnight
  clock.ms = 23 * 3600 * 1000.0 + 1000;  // and the system time is put back an hour
  Tick(100);
  EXPECT_THAT(screen.texts[kProgressLabel], StartsWith("Tempo:   3.0 s "));
  transport.OnSecondTick();
  EXPECT_EQ(screen.texts[kTimeLabel], "Ora: 23:00:02");
  Tick(100);
  EXPECT_TRUE(Playing());
  Tick(10);
  EXPECT_EQ(transport.State().PlayStatus, "finito");
  transport.OnSecondTick();  // for good, without Continuo
  EXPECT_FALSE(transport.TakeEvents().ContinuoDue);
}

TEST(PlayerParts, SilenceRestsTheDisplaysProgramChangeNeedsAnOpenOutputAndCaptureKeepsThreeDecimals) {
  RecordingMidiOut midi;
  RecordingScreen screen;
  SilenceAll(midi, screen);
  for (int channel = 0; channel < 16; ++channel) EXPECT_EQ(screen.levels[kLevelBarBase + channel].back(), 0);
  EXPECT_EQ(screen.keys.back().id, kBigKeyboard);
  midi.Sent.clear();
  EXPECT_FALSE(ProgramChange(midi, 18, 0));
  ASSERT_TRUE(OpenDefaultMidiOut(midi));
  EXPECT_TRUE(ProgramChange(midi, 18, 2));
  EXPECT_EQ(midi.Sent.at(0).word, Word(0xC2, 18, 0));
  double now = 100;
  CaptureMidiOut capture([&now] { return now; });
  capture.Send(Word(0x90, 1, 1));  // before the start: not kept
  capture.StartRecording();
  now += 12.5;
  capture.Send(Word(144, 60, 100));
  ASSERT_EQ(capture.Messages().size(), 1u);
  EXPECT_EQ(CaptureLine(capture.Messages()[0]), "12.500\t144\t60\t100");
}

}  // namespace
}  // namespace sonvela
