#include <cstdint>
#include <limits>

#include "player/player_bench.h"

namespace sonvela {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::EndsWith;
using ::testing::IsEmpty;

using PlaybackTest = PlayerBench;

TEST_F(PlaybackTest, PlaySilencesThenSendsTheTickZeroEventsInTrackOrder) {
  NewSong(song);
  AddTrack(song, {{0xC0, 5, 0, 0}, {0x90, 60, 100, 0}, {0x80, 60, 0, 96}});
  AddTrack(song, {{0xB1, 7, 90, 0}, {0x91, 64, 80, 48}});
  EXPECT_THAT(Start(), ElementsAreArray(Join({AllNotesOffWords(),
                                              {Word(0xC0, 5, 0), Word(0x90, 60, 100), Word(0xB1, 7, 90)}})));
  EXPECT_THAT(midi.Calls, ElementsAre("close", "open -1"));
  EXPECT_TRUE(Playing());
  EXPECT_EQ(logs.Messages.Back(), "song.mid iniziato alle 10:00:00");
  EXPECT_EQ(transport.State().PlayStartMs, 5000);
  EXPECT_THAT(screen.channelUsage, ElementsAre("**              "));
}

TEST_F(PlaybackTest, PlayRefusesWithoutSongOrOutput) {
  EXPECT_THAT(Start(), IsEmpty());
  EXPECT_THAT(screen.messages, ElementsAre("No midifile loaded!"));
  midi.OpenResult = 2;
  EXPECT_THAT(Play({{0x90, 60, 100, 0}, {0x80, 60, 0, 10}}, -1), IsEmpty());
  EXPECT_EQ(screen.messages.back(), "Problems!(Midi out)");
  // The clock runs on, but a song that never started is not played, and does not end after its length
  // (Continuo would move on from it).
  EXPECT_THAT(Tick(30), IsEmpty());
  EXPECT_TRUE(Playing());
  EXPECT_EQ(transport.State().PlayStatus, "");
  // Nor does a loop restart play it.
  transport.SetLoopStart(20);
  transport.SetLoopEnd(30);
  EXPECT_THAT(Tick(30), IsEmpty());
  EXPECT_EQ(transport.EarliestNextPosition(), std::nullopt);
  // A click on the song map places the cursors: from there it plays, loops and ends.
  transport.ContinueFromPercent(0);
  EXPECT_THAT(Tick(3), ElementsAreArray(AllNotesOffWords(3)));  // the seek's silence, then the restart's
  EXPECT_EQ(transport.State().SongPosition, 2 * 60000);
  transport.CancelLoop();
  EXPECT_THAT(Tick(8), ElementsAreArray(Join({{Word(0x80, 60, 0)}, AllNotesOffWords()})));
  EXPECT_EQ(transport.State().PlayStatus, "finito");
}

TEST_F(PlaybackTest, EachTickAdvancesTheClockAndPlaysWhatIsDueTrackByTrack) {
  NewSong(song, 100, 600);  // 100 x 600 x 10 = 600000 a clock tick: song ticks up to 10
  AddTrack(song, {{0x90, 60, 1, 5}, {0x80, 60, 0, 11}}, 1000);
  AddTrack(song, {{0x91, 70, 1, 3}, {0x91, 71, 1, 10}});
  AddTrack(song, {{0x92, 80, 1, 10}});
  Start();
  EXPECT_THAT(Tick(),
              ElementsAre(Word(0x90, 60, 1), Word(0x91, 70, 1), Word(0x91, 71, 1), Word(0x92, 80, 1)));
  EXPECT_EQ(transport.State().SongPosition, 600000);
  EXPECT_THAT(Tick(), ElementsAre(Word(0x80, 60, 0)));
  EXPECT_EQ(transport.State().SongPosition, 2 * 600000);
}

TEST_F(PlaybackTest, TempoEventsSetTheTempoUnlessFixed) {
  Play({{kMetaTempo, 60, 0, 0}, {kMetaTempo, 0, 0, 1}, {kMetaTempo, 90, 0, 2}, {kMetaTempo, 30, 0, 3}}, 100,
       100, 120);
  EXPECT_EQ(song.TempoBpm, 60);
  EXPECT_EQ(screen.texts[kBpmLabel], "BPM 60");
  Tick();
  // A stored tempo of 0 leaves the clock running at the tempo it had.
  EXPECT_EQ(song.TempoBpm, 60);
  EXPECT_EQ(transport.State().SongPosition, 100 * 60 * 10);
  transport.ToggleTempoFixed();
  Tick();
  EXPECT_EQ(song.TempoBpm, 60);
  transport.ToggleTempoFixed();
  Tick();
  EXPECT_EQ(song.TempoBpm, 30);
  EXPECT_EQ(screen.texts[kBpmLabel], "BPM 30");
}

TEST_F(PlaybackTest, HalvingRoundsToEvenAndDoublingStopsShortOfOverflow) {
  NewSong(song, 96, 121);
  AddTrack(song, {{0x90, 1, 1, 1000}});
  for (const auto& [from, to] :
       {std::pair{121, 60}, std::pair{122, 61}, std::pair{3, 2}, std::pair{123, 62}}) {
    song.TempoBpm = from;
    transport.HalveTempo();
    EXPECT_EQ(song.TempoBpm, to) << from;
  }
  transport.DoubleTempo();
  EXPECT_EQ(song.TempoBpm, 124);
  song.TempoBpm = 500000;
  transport.DoubleTempo();
  transport.DoubleTempo();
  EXPECT_EQ(song.TempoBpm, 1000000);
  // Tempo 1 halves to 0: the clock stands still.
  song.TempoBpm = 1;
  transport.HalveTempo();
  Start();
  Tick(20);
  EXPECT_EQ(transport.State().SongPosition, 0);
  EXPECT_TRUE(Playing());
}

TEST_F(PlaybackTest, PauseAndStopKeepThePositionThenResumeOrPlayFromTheStart) {
  Play({{0x90, 60, 100, 0}, {0x80, 60, 0, 5}});
  Tick(3);
  transport.PausePlayback();
  EXPECT_FALSE(Playing());
  EXPECT_THAT(Sent(), ElementsAreArray(AllNotesOffWords()));
  Tick(10);
  EXPECT_EQ(transport.State().SongPosition, 3 * 60000);
  transport.PausePlayback();
  EXPECT_THAT(Tick(2), ElementsAre(Word(0x80, 60, 0)));
  EXPECT_EQ(transport.State().PlayStartMs, 5000);  // the pause counts as played time

  transport.PausePlayback();
  transport.StopPlayback();
  EXPECT_EQ(transport.State().Paused, 0);
  EXPECT_FALSE(Playing());
  EXPECT_EQ(transport.State().SongPosition, 5 * 60000);
  EXPECT_EQ(Start().back(), Word(0x90, 60, 100));
  EXPECT_EQ(transport.State().SongPosition, 0);
}

TEST_F(PlaybackTest, SeekingPassesOverWhatLiesAtOrBeforeThePoint) {
  Play({{0xC0, 3, 0, 0}, {0x90, 60, 100, 0}, {0x90, 62, 100, 50}, {0x90, 64, 100, 51}, {0x80, 60, 0, 100}},
       -1);
  transport.StopPlayback();
  Sent();
  transport.ContinueFromPercent(0);
  EXPECT_TRUE(Playing());
  EXPECT_THAT(Sent(), ElementsAreArray(AllNotesOffWords()));  // tick 0 is not replayed
  transport.ContinueFromPercent(50);
  EXPECT_EQ(transport.State().SongPosition, 50 * 60000);
  EXPECT_THAT(Tick(), ElementsAreArray(Join({AllNotesOffWords(), {Word(0x90, 64, 100)}})));
}

TEST_F(PlaybackTest, TheLoopEndStaysAfterItsStartAndTheLoopRestartsEvenBetweenEvents) {
  transport.SetLoopStart(30);
  EXPECT_EQ(transport.State().LoopEndPercent, 31);
  transport.SetLoopEnd(95);
  transport.SetLoopStart(90);
  transport.SetLoopEnd(20);
  EXPECT_EQ(transport.State().LoopStartPercent, 90);
  EXPECT_EQ(transport.State().LoopEndPercent, 91);
  transport.CancelLoop();
  EXPECT_EQ(transport.State().LoopEndPercent, 0);

  transport.SetLoopStart(20);
  transport.SetLoopEnd(50);
  Play({{0x90, 60, 100, 10}, {0x80, 60, 0, 100}}, -1);
  Tick(49);
  // No event lies at 50 %, yet the loop goes back to 20 %, silencing on the way.
  EXPECT_THAT(Tick(), ElementsAreArray(AllNotesOffWords(2)));
  EXPECT_EQ(transport.State().SongPosition, 20 * 60000);
  EXPECT_TRUE(Playing());
}

TEST_F(PlaybackTest, TheSongEndsWithItsLongestTrackEvenAfterItsLastEvent) {
  // The other track's event of the last tick still goes out, and is silenced again.
  const std::vector<uint32_t> endsWithLastEvent =
      Join({{Word(0x80, 60, 0)}, AllNotesOffWords(), {Word(0x81, 61, 0)}, AllNotesOffWords()});
  for (const auto& [end, lastSent] : {std::pair{10, endsWithLastEvent}, std::pair{30, AllNotesOffWords()}}) {
    NewSong(song, 100, 60);
    AddTrack(song, {{0x90, 60, 100, 0}, {0x80, 60, 0, 10}});
    AddTrack(song, {{0x91, 61, 100, 0}, {0x81, 61, 0, 10}}, end);
    Start();
    Tick(end - 1);
    EXPECT_TRUE(Playing());
    EXPECT_THAT(Tick(), ElementsAreArray(lastSent)) << end;
    EXPECT_FALSE(Playing());
    EXPECT_EQ(transport.State().PlayStatus, "finito");
    EXPECT_EQ(screen.texts[kProgressLabel],
              end == 10 ? "Tempo:   0.1 s  (   0.1 s) 100.0% " : "Tempo:   0.3 s  (   0.3 s) 100.0% ");
    transport.ResetSong();
  }
}

TEST_F(PlaybackTest, ASongOfNoLengthEndsAtOnceAndShowsNothingBroken) {
  Play({}, -1, 0, 0);
  Tick();
  EXPECT_EQ(transport.State().PlayStatus, "finito");
  EXPECT_EQ(screen.texts[kProgressLabel], "Tempo:   0.0 s  (   0.0 s)   0.0% ");
  transport.ContinueFromPercent(50);
  EXPECT_EQ(transport.State().SongPosition, 0);
}

// Each delta of a file may be 2^31 - 1, so an event can lie past any 64-bit song time.
constexpr int64_t kFarTick = int64_t{1} << 50;

TEST_F(PlaybackTest, AnEventBeyondSongTimeIsNeverReached) {
  Play({{0x90, 60, 100, 0}, {0x80, 60, 0, kFarTick}}, -1, 96, 120);
  // Wrapped, 60000 x 2^50 is negative: the note-off would be due at once and the song over.
  EXPECT_THAT(Tick(100), IsEmpty());
  EXPECT_TRUE(Playing());
  transport.OnProgressTick();
  EXPECT_THAT(screen.texts[kProgressLabel], EndsWith("   0.0% "));
  // Half of it is past song time too; the point must not wrap behind the start.
  transport.ContinueFromPercent(50);
  EXPECT_GT(transport.State().SongPosition, 100 * 96 * 120 * 10);
}

TEST_F(PlaybackTest, AClockStepBeyondSongTimeStopsAtItsLimitAndEndsTheSong) {
  // No file gives such a tempo and division, but 10 x 2^62 per tick must not wrap the clock.
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  Play({{0x90, 60, 100, 0}, {0x80, 60, 0, kFarTick}}, -1, kMax, kMax);
  EXPECT_EQ(Tick(2).front(), Word(0x80, 60, 0));
  EXPECT_GT(transport.State().SongPosition, 0);
  EXPECT_EQ(transport.State().PlayStatus, "finito");
}

TEST_F(PlaybackTest, ResetClearsTheSongAndTheChannelsAndKillingStopsEveryTimer) {
  Play({{0x90, 60, 100, 0}, {0x80, 60, 0, 1000}});
  document.EventTable.Show(document);
  transport.ToggleChannel(3);
  Sent();
  transport.ResetSong();
  EXPECT_FALSE(Playing());
  EXPECT_THAT(Sent(), ElementsAreArray(AllNotesOffWords()));
  EXPECT_EQ(transport.State().ChannelMuted[3], 0);
  EXPECT_EQ(transport.State().KeyOn[60], 0);
  EXPECT_EQ(song.TrackCount, 0);
  EXPECT_TRUE(document.EventTable.Empty());

  transport.StartSecondTick();
  transport.KillAllTimers();
  EXPECT_EQ(timers.running, decltype(timers.running){});
}

}  // namespace
}  // namespace sonvela
