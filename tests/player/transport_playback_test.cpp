#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "player/player_bench.h"

namespace sonvela {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::EndsWith;

class PlaybackTest : public PlayerBench {};

TEST_F(PlaybackTest, PlaySilencesThenSendsTheTickZeroEventsInTrackOrder) {
  NewSong(song);
  AddTrack(song, {{0xC0, 5, 0, 0}, {0x90, 60, 100, 0}, {0x80, 60, 0, 96}});
  AddTrack(song, {{0xB1, 7, 90, 0}, {0x91, 64, 80, 48}});
  transport.StartPlayback();

  std::vector<uint32_t> expected = AllNotesOffWords();
  expected.insert(expected.end(), {Word(0xC0, 5, 0), Word(0x90, 60, 100), Word(0xB1, 7, 90)});
  EXPECT_THAT(SentSince(0), ElementsAreArray(expected));
  EXPECT_THAT(midi.Calls, ElementsAre("close", "open -1"));
  EXPECT_TRUE(Playing());
  EXPECT_EQ(logs.Messages.Back(), "song.mid iniziato alle 10:00:00");
  EXPECT_EQ(transport.State().PlayStartMs, 36000000);
  EXPECT_THAT(screen.channelUsage, ElementsAre("**              "));
}

TEST_F(PlaybackTest, PlayRefusesWithoutSongOrOutput) {
  transport.StartPlayback();
  EXPECT_THAT(screen.messages, ElementsAre("No midifile loaded!"));
  EXPECT_TRUE(midi.Sent.empty());

  NewSong(song);
  AddTrack(song, {{0x90, 60, 100, 0}, {0x80, 60, 0, 10}});
  midi.OpenResult = 2;
  transport.StartPlayback();
  EXPECT_EQ(screen.messages.back(), "Problems!(Midi out)");
  // The clock runs on, but nothing of the song is played.
  EXPECT_TRUE(Playing());
  Tick(5);
  EXPECT_TRUE(midi.Sent.empty());
}

TEST_F(PlaybackTest, EachTickAdvancesTheClockAndPlaysWhatIsDue) {
  NewSong(song, 96, 120);
  AddTrack(song, {{0x90, 60, 100, 2}, {0x80, 60, 0, 4}});
  transport.StartPlayback();
  const size_t mark = midi.Sent.size();
  Tick();
  EXPECT_EQ(transport.State().SongPosition, 96 * 120 * 10);
  EXPECT_TRUE(SentSince(mark).empty());  // tick 2 is due at 120000, beyond 115200
  Tick();
  EXPECT_EQ(transport.State().SongPosition, 2 * 96 * 120 * 10);
  EXPECT_THAT(SentSince(mark), ElementsAre(Word(0x90, 60, 100)));
}

TEST_F(PlaybackTest, EventsOfOneTickGoInTrackOrderNotTimeOrder) {
  NewSong(song, 100, 600);  // 10 ticks of song per clock tick
  AddTrack(song, {{0x90, 60, 1, 5}, {0x80, 60, 0, 40}});
  AddTrack(song, {{0x91, 70, 1, 3}, {0x91, 71, 1, 5}});
  AddTrack(song, {{0x92, 80, 1, 5}});
  transport.StartPlayback();
  const size_t mark = midi.Sent.size();
  Tick();
  EXPECT_THAT(SentSince(mark),
              ElementsAre(Word(0x90, 60, 1), Word(0x91, 70, 1), Word(0x91, 71, 1), Word(0x92, 80, 1)));
}

TEST_F(PlaybackTest, TempoEventsSetTheTempoUnlessFixed) {
  NewSong(song, 100, 120);
  AddTrack(song, {{kMetaTempo, 60, 0, 0},
                  {kMetaTempo, 0, 0, 1},
                  {kMetaTempo, 90, 0, 2},
                  {kMetaTempo, 30, 0, 3},
                  {0x90, 1, 1, 100}});
  transport.StartPlayback();
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

TEST_F(PlaybackTest, HalvingAndDoublingTheTempo) {
  NewSong(song, 96, 121);
  AddTrack(song, {{0x90, 1, 1, 1000}});
  transport.HalveTempo();
  EXPECT_EQ(song.TempoBpm, 60);
  song.TempoBpm = 123;
  transport.HalveTempo();
  EXPECT_EQ(song.TempoBpm, 62);
  transport.DoubleTempo();
  EXPECT_EQ(screen.texts[kBpmLabel], "BPM 124");

  // Doubling stops short of a tempo no song has, rather than overflow.
  song.TempoBpm = 500000;
  transport.DoubleTempo();
  EXPECT_EQ(screen.texts[kBpmLabel], "BPM 1000000");
  transport.DoubleTempo();
  EXPECT_EQ(song.TempoBpm, 1000000);
  song.TempoBpm = std::numeric_limits<int32_t>::max() / 2 + 1;
  transport.DoubleTempo();
  EXPECT_EQ(song.TempoBpm, std::numeric_limits<int32_t>::max() / 2 + 1);

  song.TempoBpm = 1;
  transport.HalveTempo();
  transport.DoubleTempo();
  EXPECT_EQ(screen.texts[kBpmLabel], "BPM 0");
  transport.StartPlayback();
  Tick(20);
  EXPECT_EQ(transport.State().SongPosition, 0);
  EXPECT_TRUE(Playing());
}

TEST_F(PlaybackTest, PauseKeepsThePositionAndResumes) {
  NewSong(song, 100, 60);
  AddTrack(song, {{0x90, 60, 100, 0}, {0x80, 60, 0, 5}, {0xB0, 7, 100, 50}});
  transport.StartPlayback();
  Tick(3);
  const size_t mark = midi.Sent.size();
  transport.PausePlayback();
  EXPECT_FALSE(Playing());
  EXPECT_THAT(SentSince(mark), ElementsAreArray(AllNotesOffWords()));
  Tick(10);
  EXPECT_EQ(transport.State().SongPosition, 3 * 60000);
  const size_t resumed = midi.Sent.size();
  transport.PausePlayback();
  EXPECT_TRUE(Playing());
  Tick(2);
  EXPECT_THAT(SentSince(resumed), ElementsAre(Word(0x80, 60, 0)));
  EXPECT_EQ(transport.State().PlayStartMs, 36000000);  // the pause counts as played time
}

TEST_F(PlaybackTest, StopKeepsThePositionAndPlayStartsOver) {
  NewSong(song, 100, 60);
  AddTrack(song, {{0x90, 60, 100, 0}, {0x80, 60, 0, 50}});
  transport.StartPlayback();
  Tick(3);
  transport.PausePlayback();
  screen.checked[kPauseToggle] = true;
  transport.StopPlayback();
  EXPECT_FALSE(screen.checked[kPauseToggle]);
  EXPECT_EQ(transport.State().Paused, 0);
  EXPECT_FALSE(Playing());
  EXPECT_EQ(transport.State().SongPosition, 3 * 60000);

  const size_t mark = midi.Sent.size();
  transport.StartPlayback();
  EXPECT_EQ(transport.State().SongPosition, 0);
  EXPECT_EQ(SentSince(mark).back(), Word(0x90, 60, 100));
}

TEST_F(PlaybackTest, StartingFromAPointPassesOverWhatLiesBefore) {
  NewSong(song, 100, 60);
  AddTrack(
      song,
      {{0xC0, 3, 0, 0}, {0x90, 60, 100, 0}, {0x90, 62, 100, 50}, {0x90, 64, 100, 51}, {0x80, 60, 0, 100}});
  transport.StartPlayback();
  transport.StopPlayback();

  size_t mark = midi.Sent.size();
  transport.ContinueFromPercent(0);
  EXPECT_TRUE(Playing());
  EXPECT_THAT(SentSince(mark), ElementsAreArray(AllNotesOffWords()));  // tick 0 is not replayed
  Tick();
  EXPECT_EQ(transport.State().SongPosition, 6000 * 10);

  mark = midi.Sent.size();
  transport.ContinueFromPercent(50);
  EXPECT_EQ(transport.State().SongPosition, 50 * 60000);
  Tick();
  // The event exactly at the point was passed over; the next one is due one tick later.
  EXPECT_THAT(SentSince(mark + 16), ElementsAre(Word(0x90, 64, 100)));
}

TEST_F(PlaybackTest, LoopMarksKeepTheEndAfterTheStart) {
  transport.SetLoopStart(30);
  EXPECT_EQ(transport.State().LoopEndPercent, 31);
  transport.SetLoopEnd(95);
  transport.SetLoopStart(90);
  transport.SetLoopEnd(20);
  EXPECT_EQ(transport.State().LoopStartPercent, 90);
  EXPECT_EQ(transport.State().LoopEndPercent, 91);
  transport.CancelLoop();
  EXPECT_EQ(transport.State().LoopEndPercent, 0);
}

TEST_F(PlaybackTest, TheLoopRestartsAtItsStartEvenBetweenEvents) {
  NewSong(song, 100, 60);
  AddTrack(song, {{0x90, 60, 100, 10}, {0x80, 60, 0, 100}});
  transport.SetLoopStart(20);
  transport.SetLoopEnd(50);
  transport.StartPlayback();
  Tick(49);
  EXPECT_EQ(transport.State().SongPosition, 49 * 60000);
  const size_t mark = midi.Sent.size();
  Tick();
  // No event lies at 50 %, yet the loop goes back to 20 %, silencing on the way.
  EXPECT_EQ(transport.State().SongPosition, 20 * 60000);
  EXPECT_THAT(SentSince(mark), ElementsAreArray(AllNotesOffWords(2)));
  EXPECT_TRUE(Playing());
  EXPECT_EQ(transport.State().PlayStatus, "");
}

TEST_F(PlaybackTest, TheSongEndsWithItsLastEvent) {
  NewSong(song, 100, 60);
  AddTrack(song, {{0x90, 60, 100, 0}, {0x80, 60, 0, 10}});
  AddTrack(song, {{0x91, 61, 100, 0}, {0x81, 61, 0, 10}});
  transport.StartPlayback();
  Tick(9);
  const size_t mark = midi.Sent.size();
  Tick();
  // The other track's event of the same tick still goes out, and is silenced again.
  std::vector<uint32_t> expected{Word(0x80, 60, 0)};
  for (uint32_t word : AllNotesOffWords()) expected.push_back(word);
  expected.push_back(Word(0x81, 61, 0));
  const std::vector<uint32_t> sent = SentSince(mark);
  EXPECT_THAT(std::vector<uint32_t>(sent.begin(), sent.begin() + 18), ElementsAreArray(expected));
  EXPECT_EQ(sent.size(), 34u);
  EXPECT_EQ(transport.State().PlayStatus, "finito");
  EXPECT_FALSE(Playing());
  EXPECT_EQ(screen.texts[kProgressLabel], "Tempo:   0.1 s  (   0.1 s) 100.0% ");
}

TEST_F(PlaybackTest, ASongLongerThanItsLastEventStillEnds) {
  NewSong(song, 100, 60);
  AddTrack(song, {{0x90, 60, 100, 0}, {0x80, 60, 0, 10}}, 30);
  transport.StartPlayback();
  Tick(29);
  EXPECT_TRUE(Playing());
  const size_t mark = midi.Sent.size();
  Tick();
  EXPECT_EQ(transport.State().PlayStatus, "finito");
  EXPECT_FALSE(Playing());
  EXPECT_THAT(SentSince(mark), ElementsAreArray(AllNotesOffWords()));
  EXPECT_EQ(screen.texts[kProgressLabel], "Tempo:   0.3 s  (   0.3 s) 100.0% ");
}

TEST_F(PlaybackTest, ASongOfNoLengthEndsAtOnceAndShowsNothingBroken) {
  NewSong(song, 0, 0);
  AddTrack(song, {});
  transport.StartPlayback();
  Tick();
  EXPECT_EQ(transport.State().PlayStatus, "finito");
  EXPECT_EQ(screen.texts[kProgressLabel], "Tempo:   0.0 s  (   0.0 s)   0.0% ");
  transport.ContinueFromPercent(50);
  EXPECT_EQ(transport.State().SongPosition, 0);
}

// Each delta of a file may be 2^31 - 1, so an event can lie past any 64-bit song time.
constexpr int64_t kFarTick = int64_t{1} << 50;

TEST_F(PlaybackTest, AnEventBeyondSongTimeIsNeverReached) {
  NewSong(song, 96, 120);
  AddTrack(song, {{0x90, 60, 100, 0}, {0x80, 60, 0, kFarTick}});
  transport.StartPlayback();
  const size_t mark = midi.Sent.size();
  Tick(100);
  // Wrapped, 60000 x 2^50 is negative: the note-off would be due at once and the song over.
  EXPECT_TRUE(SentSince(mark).empty());
  EXPECT_TRUE(Playing());
  EXPECT_EQ(transport.State().SongPosition, 100 * 96 * 120 * 10);
  transport.OnProgressTick();
  EXPECT_THAT(screen.texts[kProgressLabel], EndsWith("   0.0% "));
  // Half of it is past song time too; the point must not wrap behind the start.
  transport.ContinueFromPercent(50);
  EXPECT_GT(transport.State().SongPosition, 100 * 96 * 120 * 10);
}

TEST_F(PlaybackTest, AClockStepBeyondSongTimeStopsAtItsLimitAndEndsTheSong) {
  // No file gives such a tempo and division, but 10 x 2^62 per tick must not wrap the clock.
  NewSong(song, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max());
  AddTrack(song, {{0x90, 60, 100, 0}, {0x80, 60, 0, kFarTick}});
  transport.StartPlayback();
  const size_t mark = midi.Sent.size();
  Tick(2);
  EXPECT_GT(transport.State().SongPosition, 0);
  EXPECT_EQ(SentSince(mark).front(), Word(0x80, 60, 0));
  EXPECT_EQ(transport.State().PlayStatus, "finito");
}

TEST_F(PlaybackTest, ResetClearsTheSongAndTheChannels) {
  NewSong(song);
  AddTrack(song, {{0x90, 60, 100, 0}, {0x80, 60, 0, 1000}});
  document.EventTable.Show(song);
  transport.StartPlayback();
  transport.ToggleChannel(3);
  const size_t mark = midi.Sent.size();
  transport.ResetSong();
  EXPECT_FALSE(Playing());
  EXPECT_THAT(SentSince(mark), ElementsAreArray(AllNotesOffWords()));
  EXPECT_EQ(transport.State().ChannelMuted[3], 0);
  EXPECT_EQ(transport.State().KeyOn[60], 0);
  EXPECT_EQ(song.TrackCount, 0);
  EXPECT_TRUE(document.EventTable.Empty());
}

}  // namespace
}  // namespace sonvela
