// Where the track cursors stand after Play, ticks, seeks and loop restarts, and what is sent on the way.

#include <bitset>
#include <cstdint>
#include <functional>

#include "player/player_bench.h"
#include "player/song_time.h"

namespace sonvela {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// A fixed stream of numbers, the same on every standard library.
class Numbers {
 public:
  explicit Numbers(uint32_t seed) : state_(seed) {}
  int Pick(int low, int high) {
    state_ = state_ * 1664525u + 1013904223u;
    return low + static_cast<int>((state_ >> 8) % static_cast<uint32_t>(high - low + 1));
  }

 private:
  uint32_t state_;
};

void Mix(uint64_t& hash, uint64_t value) {
  for (int byte = 0; byte < 8; ++byte) {
    hash ^= (value >> (8 * byte)) & 0xFF;
    hash *= 1099511628211ull;
  }
}
void Mix(uint64_t& hash, const std::string& text) {
  for (const char c : text) Mix(hash, static_cast<uint8_t>(c));
  Mix(hash, text.size());
}

uint64_t Fingerprint(const std::vector<SentMessage>& sent) {
  uint64_t hash = 14695981039346656037ull;
  // Times count from the first word, whatever the clock read then.
  for (const SentMessage& message : sent) {
    Mix(hash, message.word);
    Mix(hash, static_cast<uint64_t>(std::llround((message.timeMs - sent.front().timeMs) * 1000)));
  }
  return hash;
}

TEST(PlaybackCursors, DueTimesNeverFallBehindTheEventBeforeSoASearchFindsWhatAWalkFinds) {
  SongDocument document;
  SongTables& song = document.Tables;
  NewSong(document);
  // Ticks out of order (no file gives them): the walk through the track plays the tick-3 event right
  // after the tick-5 one.
  AddTrack(song, {{0x90, 1, 1, 5}, {0x90, 2, 1, 3}, {0x90, 3, 1, 8}});
  AddTrack(song, {});
  PlaybackCursors cursors;
  cursors.Prepare(song);
  EXPECT_THAT(cursors.EventDueTime[1], ElementsAre(0, 300000, 300000, 480000));
  cursors.PlaceAfter(DueTimeOfTick(4));
  EXPECT_THAT(cursors.TrackCursor, ElementsAre(0, 1, 1));
  cursors.PlaceAfter(DueTimeOfTick(5));
  EXPECT_THAT(cursors.TrackCursor, ElementsAre(0, 3, 1));
  EXPECT_EQ(cursors.NextDueTime(), DueTimeOfTick(8));
  cursors.PlaceAfter(DueTimeOfTick(8));
  EXPECT_EQ(cursors.NextDueTime(), std::nullopt);
  // They belong to these tables until a track is added or a new load begins.
  EXPECT_TRUE(cursors.Matches(song));
  AddTrack(song, {{0x90, 4, 1, 0}});
  EXPECT_FALSE(cursors.Matches(song));
  cursors.Prepare(song);
  ++song.LoadGeneration;  // a new load of the same shape
  EXPECT_FALSE(cursors.Matches(song));
  const uint64_t generation = song.LoadGeneration;
  ClearSongTables(song);  // which every load begins with
  EXPECT_EQ(song.LoadGeneration, generation + 1);
}

using CursorPlacementTest = PlayerBench;

TEST_F(CursorPlacementTest, DueTimesFollowTheTablesWhenALoadChangesThem) {
  Play({{0x90, 60, 100, 5}}, 100);
  Tick(3);
  // A load of the same shape, whose note lies elsewhere, without a Play: nothing of it is due, and it
  // does not end.
  NewSong(document, 100, 60);
  AddTrack(song, {{0x90, 62, 100, 2}}, 10);
  EXPECT_THAT(Tick(20), IsEmpty());
  EXPECT_FALSE(transport.SongStarted());
  EXPECT_EQ(transport.State().PlayStatus, "");
  // A click on the song map plays it from there, with its own times.
  transport.ContinueFromPercent(10);
  Sent();
  EXPECT_THAT(Tick(), ElementsAre(Word(0x90, 62, 100)));
  // A track added after Play is taken by the next Play.
  AddTrack(song, {{0x91, 64, 90, 0}}, 10);
  EXPECT_THAT(Start(), ElementsAreArray(Join({AllNotesOffWords(), {Word(0x91, 64, 90)}})));
}

// Random sessions on random small songs, every button and click among the ticks. After each step the
// cursors stand where a slow walk puts them and no note sounds once the clock stands still; every word sent
// and its time is pinned, and so is all the screen and the logs were given.
class RandomSessions : public PlayerBench {
 protected:
  Numbers numbers{2024};

  void BuildSmallSong() {
    NewSong(document, numbers.Pick(1, 4) * 24, numbers.Pick(30, 240));
    for (int track = numbers.Pick(1, 4); track > 0; --track) {
      std::vector<TrackEvent> events;
      int64_t tick = numbers.Pick(0, 1) * numbers.Pick(0, 50);
      for (int i = numbers.Pick(0, 25); i > 0; --i) {
        const int channel = numbers.Pick(0, 3);
        const int key = numbers.Pick(1, 127);
        if (numbers.Pick(0, 7) == 0) events.push_back({kMetaTempo, numbers.Pick(0, 200), 0, tick});
        if (numbers.Pick(0, 7) == 0) events.push_back({0xB0 + channel, 7, numbers.Pick(0, 127), tick});
        events.push_back({0x90 + channel, key, numbers.Pick(1, 127), tick});
        tick += numbers.Pick(0, 2) * numbers.Pick(1, 40);
        // Some files leave a note without its note-off.
        if (numbers.Pick(0, 3) != 0) events.push_back({0x80 + channel, key, 0, tick});
      }
      AddTrack(song, events, events.empty() || numbers.Pick(0, 2) == 0 ? tick + numbers.Pick(0, 99) : -1);
    }
  }
  // A point in percent: anywhere, on an event, or on the loop start.
  float Point() {
    const int32_t track = numbers.Pick(1, song.TrackCount);
    const int32_t count = song.TrackEventCount(track);
    switch (numbers.Pick(0, 3)) {
      case 0:
        if (count > 0 && song.LongestTrackTicks > 0)
          return static_cast<float>(100.0 *
                                    static_cast<double>(song.Event(track, numbers.Pick(1, count)).tick) /
                                    static_cast<double>(song.LongestTrackTicks));
        break;
      case 1:
        return transport.State().LoopStartPercent;
      default:
        break;
    }
    return static_cast<float>(numbers.Pick(0, 1000)) / 10;
  }
  // Each step picks its own arguments; ticking weighs five times as much as another step.
  std::vector<std::function<void()>> steps;
  std::function<void()> nextSong;
  void SetUp() override {
    for (auto press : {&Transport::StartPlayback, &Transport::PausePlayback, &Transport::StopPlayback,
                       &Transport::CancelLoop, &Transport::HalveTempo, &Transport::DoubleTempo,
                       &Transport::ToggleMute, &Transport::SoloOff, &Transport::ToggleIntro,
                       &Transport::ToggleContinuo, &Transport::ToggleMonitor, &Transport::ToggleTempoFixed})
      steps.push_back([this, press] { (transport.*press)(); });
    for (auto point : {&Transport::ContinueFromPercent, &Transport::SetLoopStart, &Transport::SetLoopEnd})
      steps.push_back([this, point] { (transport.*point)(Point()); });
    // The song's four channels, or one without notes.
    for (auto click : {&Transport::ToggleChannel, &Transport::SoloChannel})
      steps.push_back([this, click] { (transport.*click)(numbers.Pick(1, 5)); });
    steps.push_back([this] {
      transport.StepInstrument(numbers.Pick(1, 5), numbers.Pick(0, 1) == 1, numbers.Pick(0, 1) == 1);
    });
    steps.push_back([this] {
      transport.StartSecondTick();
      timers.Tick(transport, kSecondSlot);
      if (transport.TakeEvents().ContinuoDue) nextSong();
    });
    steps.insert(steps.end(), 5, [this] {
      for (int tick = numbers.Pick(1, 200); tick > 0 && !HasFatalFailure(); --tick) CheckedTick();
    });
  }
  void RandomStep() {
    steps[static_cast<size_t>(numbers.Pick(0, static_cast<int>(steps.size()) - 1))]();
    ExpectCursorsWhereASlowWalkPutsThem();
    ASSERT_FALSE(AnySounding() && !transport.Running()) << "a note hangs";
    MixShown();
  }

  // All the screen and the logs were given during the step, in the order asked (texts and colours by id).
  uint64_t shown = 14695981039346656037ull;
  void MixShown() {
    for (const RecordingScreen::KeyPaint& key : screen.keys)
      for (const int64_t value : {int64_t{key.id}, int64_t{key.key}, key.colour}) Mix(shown, value);
    for (const auto& [id, levels] : screen.levels)
      for (const int level : levels) Mix(shown, id * 1000 + level);
    for (const RecordingScreen::LoopBar& bar : screen.loopBars)
      for (const double value : {double{bar.start}, double{bar.end}, bar.played})
        Mix(shown, std::llround(value * 1e6));
    for (const auto& [id, text] : screen.texts) Mix(shown, std::to_string(id) + text);
    for (const auto* colours : {&screen.backgrounds, &screen.textColours})
      for (const auto& [id, colour] : *colours) Mix(shown, id * 0x1000000ull + colour);
    for (const auto& [program, colour] : screen.programs) Mix(shown, program * 0x1000000ull + colour);
    for (LineList* log : {&logs.Debug, &logs.Messages}) {
      for (const std::string& line : log->ToVector()) Mix(shown, line);
      log->Clear();
    }
    for (const auto& texts : {screen.messages, screen.channelUsage})
      for (const std::string& text : texts) Mix(shown, text);
    screen = RecordingScreen();
  }

  // Each cursor stands on its track's first event due after the position, counted one event at a time.
  void ExpectCursorsWhereASlowWalkPutsThem() {
    if (!transport.SongStarted()) return;
    const int64_t position = transport.State().SongPosition;
    for (int32_t track = 1; track <= song.TrackCount; ++track) {
      int32_t cursor = 1;
      while (cursor <= song.TrackEventCount(track) &&
             DueTimeOfTick(song.Event(track, cursor).tick) <= position)
        ++cursor;
      ASSERT_EQ(transport.Cursors().TrackCursor[static_cast<size_t>(track)], cursor)
          << "track " << track << " at " << position;
    }
  }

  // A tick acts (sends, or moves a cursor) exactly when it brings the song to the earliest next position
  // (the nearest due event, loop end or song end); an intro may stop the song on any progress tick.
  void CheckedTick() {
    const bool playing = Playing() && transport.SongStarted() && transport.State().IntroSeconds == 0;
    const std::optional<int64_t> earliest = transport.EarliestNextPosition();
    const int64_t reached = SongTimeSum(transport.State().SongPosition,
                                        SongTimeProduct(SongTimeProduct(song.Division, song.TempoBpm), 10));
    const std::vector<int32_t> cursors = transport.Cursors().TrackCursor;
    Sent();
    const bool sent = !Tick().empty();
    if (!playing) return;
    ASSERT_TRUE(earliest.has_value());
    ASSERT_EQ(sent || transport.Cursors().TrackCursor != cursors, reached >= *earliest)
        << "from " << reached << " to " << *earliest;
  }

  // Follows the words sent as a synthesizer would; tells whether any key sounds.
  std::array<std::bitset<128>, 16> sounding{};
  size_t followed = 0;
  bool AnySounding() {
    for (; followed < midi.Sent.size(); ++followed) {
      const SentMessage& message = midi.Sent[followed];
      auto& keys = sounding[static_cast<size_t>(message.Status() & 0x0F)];
      const auto key = static_cast<size_t>(message.Data1());
      if ((message.Status() & 0xF0) == 0x90) keys.set(key, message.Data2() > 0);
      if ((message.Status() & 0xF0) == 0x80) keys.reset(key);
      if ((message.Status() & 0xF0) == 0xB0 && key == 123) keys.reset();
    }
    return std::any_of(sounding.begin(), sounding.end(), [](const auto& keys) { return keys.any(); });
  }
};

TEST_F(RandomSessions, SendThePinnedSequenceWithCursorsWhereASlowWalkPutsThemAndNoNoteHanging) {
  for (int session = 0; session < 300; ++session) {
    BuildSmallSong();
    // Continuo loads the same song again, as a one-entry list would.
    const SongTables loaded = song;
    nextSong = [&] {
      transport.ResetSong();
      song = loaded;
      transport.StartPlayback();
    };
    transport.StartPlayback();
    for (int step = 0; step < 30; ++step) {
      RandomStep();
      ASSERT_FALSE(HasFatalFailure()) << "session " << session << ", step " << step;
    }
    transport.StopPlayback();
    ASSERT_FALSE(AnySounding()) << "session " << session << " after Stop";
    transport.ResetSong();
  }
  // Every word sent and its time: a change to what the sessions send, or when, shows here.
  EXPECT_EQ(midi.Sent.size(), 339536u);
  EXPECT_EQ(Fingerprint(midi.Sent), 13949325520347773657ull);
  EXPECT_EQ(shown, 7532136668024490987ull);
}

}  // namespace
}  // namespace sonvela
