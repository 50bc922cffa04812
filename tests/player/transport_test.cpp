// What the transport shows and logs, and what the random sessions of cursor_placement_test.cpp never reach.

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
using ::testing::ElementsAreArray;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::StartsWith;

using TransportTest = PlayerBench;

// What Play sends, shows and logs is pinned by the random sessions; the output it opens is not.
TEST_F(TransportTest, PlayOpensTheDefaultOutputAgain) {
  Play({{0x90, 60, 100, 0}});
  EXPECT_THAT(midi.Calls, ElementsAre("close", "open -1"));
}

TEST_F(TransportTest, PlayRefusesWithoutSongOrOutputAndOnlyASeekStartsTheSongThen) {
  EXPECT_THAT(Start(), IsEmpty());
  EXPECT_THAT(screen.messages, ElementsAre("No midifile loaded!"));
  midi.OpenResult = 2;
  EXPECT_THAT(Play({{0x90, 60, 100, 0}, {0x80, 60, 0, 10}}, -1), IsEmpty());
  EXPECT_EQ(screen.messages.back(), "Problems!(Midi out)");
  // The clock runs on, but the song neither plays, nor loops, nor ends (Continuo would move on from it).
  transport.SetLoopStart(20);
  transport.SetLoopEnd(30);
  EXPECT_THAT(Tick(30), IsEmpty());
  EXPECT_TRUE(Playing());
  EXPECT_EQ(transport.State().PlayStatus, "");
  EXPECT_EQ(transport.EarliestNextPosition(), std::nullopt);
  transport.ContinueFromPercent(0);
  EXPECT_THAT(Tick(3), ElementsAreArray(AllNotesOffWords(3)));  // the seek's silence, then the restart's
  transport.CancelLoop();
  EXPECT_THAT(Tick(8), ElementsAreArray(Join({{Word(0x80, 60, 0)}, AllNotesOffWords()})));
  EXPECT_EQ(transport.State().PlayStatus, "finito");
}

TEST_F(TransportTest, HalvingRoundsToEvenDoublingStopsShortOfOverflowAndTempoZeroStandsStill) {
  Play({{0x90, 1, 1, 1000}});
  for (const auto& [from, halved, doubled] : {std::tuple{121, 60, 242},
                                              {122, 61, 244},
                                              {3, 2, 6},
                                              {123, 62, 246},
                                              {500000, 250000, 1000000},
                                              {500001, 250000, 500001}}) {
    song.TempoBpm = from;
    transport.HalveTempo();
    EXPECT_EQ(song.TempoBpm, halved) << from;
    song.TempoBpm = from;
    transport.DoubleTempo();
    EXPECT_EQ(song.TempoBpm, doubled) << from;
  }
  song.TempoBpm = 1;
  transport.HalveTempo();
  Tick(20);
  EXPECT_EQ(transport.State().SongPosition, 0);
  EXPECT_TRUE(Playing());
}

// The progress text shows the song whole, never more than played.
TEST_F(TransportTest, TheProgressText) {
  // 700 ticks at 96 a beat, 120 BPM: 3.65 s, ending between two clock ticks (the random sessions pin the
  // end and its text).
  std::string text = "old";
  Play({{0x90, 60, 100, 0}, {0x80, 60, 0, 700}}, -1, 96, 120);
  Tick(365);
  // An output that failed to open: a minute of clock, and nothing has played.
  midi.OpenResult = 2;
  Start();
  clock.Advance(60000);
  Tick(6000);
  transport.OnProgressTick();
  EXPECT_EQ(screen.texts[kProgressLabel], "Tempo:   0.0 s  (   3.6 s)   0.0% ");
  midi.OpenResult = kMidiOutOk;
  Play({{0x90, 60, 100, 0}}, 96 * 2 * 185, 96, 120);  // 185 s
  clock.Advance(12340);
  transport.ContinueFromPercent(6.66f);
  transport.OnProgressTick();
  EXPECT_EQ(transport.State().ProgressText, "Tempo:  12.3 s  ( 185.0 s)   6.7% ");
  FormatProgressText(text, 0.04, std::numeric_limits<double>::infinity(), std::nan(""));
  EXPECT_EQ(text, "Tempo:   0.0 s  (   0.0 s)   0.0% ");
  // 21000 / 60000 lies just below the tie, 100 x (210 / 60000) just above it.
  Play({{0x90, 60, 100, 0}}, 1, 21, 1);
  Tick();
  transport.OnProgressTick();
  EXPECT_THAT(transport.State().ProgressText, EndsWith("   0.3% "));
  EXPECT_EQ(PlayedPercent(210, 0), 0);
  // A song of no length ends at once and has nowhere to seek to.
  Play({}, -1, 0, 0);
  Tick();
  EXPECT_EQ(transport.State().PlayStatus, "finito");
  EXPECT_EQ(screen.texts[kProgressLabel], "Tempo:   0.0 s  (   0.0 s)   0.0% ");
  transport.ContinueFromPercent(50);
  EXPECT_EQ(transport.State().SongPosition, 0);
}

TEST(LoopEndPosition, IsTheFirstPositionWhoseFractionReachesTheMark) {
  for (const int64_t length : {int64_t{1}, int64_t{3}, int64_t{1824}, int64_t{1} << 40}) {
    for (const float percent : {0.001f, 1.0001f, 33.3f, 99.99f, 100.0f, 150.0f}) {
      const double fraction = static_cast<double>(percent) / 100;
      const auto position = FirstPositionAtFraction(fraction, length);
      ASSERT_TRUE(position.has_value()) << length << " " << percent;
      EXPECT_GE(PlayedFraction(*position, length), fraction) << length << " " << percent;
      EXPECT_LT(PlayedFraction(*position - 1, length), fraction) << length << " " << percent;
    }
  }
  EXPECT_EQ(FirstPositionAtFraction(0.5, 0), std::nullopt);
}

// Each delta of a file may be 2^31 - 1, so an event can lie past any 64-bit song time.
TEST_F(TransportTest, SongTimesBeyondSixtyFourBitsStopAtTheLimitInsteadOfWrapping) {
  constexpr int64_t kFarTick = int64_t{1} << 50;
  Play({{0x90, 60, 100, 0}, {0x80, 60, 0, kFarTick}}, -1, 96, 120);
  EXPECT_THAT(Tick(100), IsEmpty());
  transport.OnProgressTick();
  EXPECT_THAT(screen.texts[kProgressLabel], EndsWith("   0.0% "));
  transport.ContinueFromPercent(50);
  EXPECT_GT(transport.State().SongPosition, 100 * 96 * 120 * 10);
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  Play({{0x90, 60, 100, 0}, {0x80, 60, 0, kFarTick}}, -1, kMax, kMax);
  EXPECT_EQ(Tick(2).front(), Word(0x80, 60, 0));
  EXPECT_EQ(transport.State().PlayStatus, "finito");
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  for (const auto& [a, b, product, sum] :
       {std::tuple{kSongTimeLimit, int64_t{1}, kSongTimeLimit, kSongTimeLimit},
        {int64_t{-3}, int64_t{1} << 61, -kSongTimeLimit, (int64_t{1} << 61) - 3},
        {kMin, kMin, kSongTimeLimit, -kSongTimeLimit},
        {int64_t{0}, kMin, int64_t{0}, -kSongTimeLimit},
        {int64_t{-7}, int64_t{-6}, int64_t{42}, int64_t{-13}},
        {kSongTimeLimit, kSongTimeLimit, kSongTimeLimit, kSongTimeLimit}}) {
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

TEST_F(TransportTest, DataBytesBeyondMidiAreSentAsStoredButReachNoDisplayOutOfRange) {
  // The reader keeps data bytes 0..255 as found; key 0 is a note too, but lights nothing.
  Play({{0x90, 200, 100, 1}, {0x91, 60, 200, 2}, {0xC0, 200, 0, 3}, {0x80, 200, 0, 4}, {0x90, 0, 50, 5}});
  transport.ToggleMonitor();
  screen.keys.clear();
  EXPECT_THAT(Tick(5), ElementsAre(Word(0x90, 200, 100), Word(0x91, 60, 200), Word(0xC0, 200, 0),
                                   Word(0x80, 200, 0), Word(0x90, 0, 50)));
  transport.OnProgressTick();
  EXPECT_EQ(screen.keys.size(), 2u);  // key 60 of channel 2, on both keyboards
  for (const auto& [id, levels] : screen.levels) {
    for (int level : levels) EXPECT_TRUE(level >= 0 && level <= 127) << id << ": " << level;
  }
  EXPECT_EQ(screen.texts[ChannelControl(kChannelIndicatorBase, 1)], "");
  // Program 200 stands for none: stepping down from none sends nothing, up goes to 0.
  EXPECT_THAT(screen.programs, ElementsAre(std::make_pair(200, kProgramShown)));
  transport.StepInstrument(1, true, false);
  EXPECT_THAT(Sent(), IsEmpty());
  transport.StepInstrument(1, false, true);
  EXPECT_THAT(Sent(), ElementsAre(Word(0xC0, 0, 127)));
  EXPECT_EQ(screen.programs.back(), std::make_pair(0, kProgramStepped));
}

TEST_F(TransportTest, TextsGoToTheLyricLineTheMessageLogOrTheDebugLog) {
  NewSong(document, 100, 60);
  song.TextEvents = {"", "Hel", ""};
  song.TaggedTexts = {"", "", "Sq/Na  1:Intro"};
  AddTrack(song,
           {{kMetaText, 1, 0, 1}, {kMetaTrackName, 2, 0, 2}, {0x7F, 1, 2, 3}, {kMetaTimeSignature, 4, 4, 4}},
           100);
  Start();
  EXPECT_THAT(Tick(4), IsEmpty());
  EXPECT_THAT(screen.lyrics, ElementsAre("Hel"));
  EXPECT_EQ(logs.Messages.Back(), "Sq/Na  1:Intro");
  EXPECT_THAT(logs.Debug.ToVector(), ElementsAre("Evento non nota: &h7F 1 2 3"));
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
