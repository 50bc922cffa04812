// Where the track cursors stand after Play, ticks, seeks and loop restarts, and what is sent on the way.

#include <bitset>
#include <cstdint>
#include <functional>

#include "player/player_bench.h"
#include "player/song_time.h"

namespace sonvela {
namespace {

// A fixed stream of numbers, the same on every standard library.
struct Numbers {
  uint32_t state;
  int Pick(int low, int high) {
    state = state * 1664525u + 1013904223u;
    return low + static_cast<int>((state >> 8) % static_cast<uint32_t>(high - low + 1));
  }
};

// FNV-1a over a value's eight bytes, or over a text and its length.
constexpr uint64_t kUnmixed = 14695981039346656037ull;
void Mix(uint64_t& hash, uint64_t value) {
  for (int byte = 0; byte < 8; ++byte) hash = (hash ^ ((value >> (8 * byte)) & 0xFF)) * 1099511628211ull;
}
void Mix(uint64_t& hash, const std::string& text) {
  for (const char c : text) Mix(hash, static_cast<uint8_t>(c));
  Mix(hash, text.size());
}

// Random sessions on random small songs, every button and click among the ticks, an output that fails and
// loads without a Play. After each step the cursors stand where a slow walk puts them, no muted channel has
// sounded, no note sounds once the clock stands still and nothing shown lies out of range. Every word sent
// with its time, and all the screen, the logs and the output were given, are pinned.
class RandomSessions : public PlayerBench {
 protected:
  Numbers numbers{2024};
  std::vector<std::function<void()>> steps;
  std::function<void()> nextSong;
  uint64_t shown = kUnmixed, sentHash = kUnmixed;

  void BuildSmallSong() {
    const int division = numbers.Pick(1, 4) * 24;
    NewSong(document, division, numbers.Pick(30, 240));
    song.TextEvents = {"", "Hel"};
    song.TaggedTexts = {"", "", "Sq/Na  1:Intro"};
    for (int track = numbers.Pick(1, 4); track > 0; --track) {
      std::vector<TrackEvent> events;
      // Each draw its own statement: the order of operands is unspecified and differs between builds.
      int64_t tick = numbers.Pick(0, 1);
      tick *= numbers.Pick(0, 50);
      for (int i = numbers.Pick(0, 25); i > 0; --i) {
        const int channel = numbers.Pick(0, 3);
        // The reader keeps data bytes 0..255 as found.
        const int key = numbers.Pick(0, 5) == 0 ? numbers.Pick(0, 255) : numbers.Pick(1, 127);
        if (numbers.Pick(0, 7) == 0) events.push_back({kMetaTempo, numbers.Pick(0, 200), 0, tick});
        if (numbers.Pick(0, 7) == 0) events.push_back({0xB0 + channel, 7, numbers.Pick(0, 127), tick});
        if (numbers.Pick(0, 9) == 0) events.push_back({0xC0 + channel, numbers.Pick(0, 255), 0, tick});
        const int texts[] = {kMetaText, kMetaTrackName, 0x7F, kMetaTimeSignature};
        if (numbers.Pick(0, 9) == 0)
          events.push_back({texts[numbers.Pick(0, 3)], numbers.Pick(1, 2), 3, tick});
        events.push_back({0x90 + channel, key, numbers.Pick(1, 255), tick});
        // Now and then a tick out of order (no file gives them): the track still plays in its order.
        const int jumps = numbers.Pick(0, 2), jump = numbers.Pick(1, 40);
        tick = std::max<int64_t>(0, tick + jumps * jump - numbers.Pick(0, 9) / 9 * 30);
        // Some files leave a note without its note-off.
        if (numbers.Pick(0, 3) != 0) events.push_back({0x80 + channel, key, 0, tick});
      }
      AddTrack(song, events, events.empty() || numbers.Pick(0, 2) == 0 ? tick + numbers.Pick(0, 99) : -1);
    }
  }
  // A point in percent: on an event, on the loop start, or anywhere.
  float Point() {
    const int32_t track = numbers.Pick(1, song.TrackCount);
    const int32_t count = song.TrackEventCount(track);
    const int where = numbers.Pick(0, 3);
    if (where == 0 && count > 0 && song.LongestTrackTicks > 0)
      return static_cast<float>(100.0 * static_cast<double>(song.Event(track, numbers.Pick(1, count)).tick) /
                                static_cast<double>(song.LongestTrackTicks));
    if (where == 1) return transport.State().LoopStartPercent;
    return static_cast<float>(numbers.Pick(0, 1000)) / 10;
  }
  // Each step picks its own arguments; ticking weighs five times as much as another step.
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
      const int channel = numbers.Pick(1, 5);
      const bool next = numbers.Pick(0, 1) == 1;
      transport.StepInstrument(channel, next, numbers.Pick(0, 1) == 1);
    });
    steps.push_back([this] {
      transport.StartSecondTick();
      timers.Tick(transport, kSecondSlot);
      if (transport.TakeEvents().ContinuoDue) nextSong();
    });
    // Play, with an output that fails to open.
    steps.push_back([this] {
      midi.OpenResult = 2;
      transport.StartPlayback();
      midi.OpenResult = kMidiOutOk;
    });
    // A new load without Play: the song again with its ticks moved on, or a track added to these tables.
    steps.push_back([this] {
      if (numbers.Pick(0, 1) == 0)
        return AddTrack(song, {{0x90, numbers.Pick(1, 127), 100, numbers.Pick(0, 99)}});
      SongTables moved = song;
      for (auto& events : moved.TrackEvents)
        for (TrackEvent& event : events) event.tick += 7;
      ClearSongTables(song);
      moved.LoadGeneration = song.LoadGeneration;
      song = moved;
    });
    steps.insert(steps.end(), 5, [this] {
      for (int tick = numbers.Pick(1, 200); tick > 0 && !HasFatalFailure(); --tick) CheckedTick();
    });
  }
  void RandomStep() {
    steps[static_cast<size_t>(numbers.Pick(0, static_cast<int>(steps.size()) - 1))]();
    ExpectCursorsWhereASlowWalkPutsThem();
    ASSERT_EQ(transport.EarliestNextPosition().has_value(), transport.SongStarted());
    ASSERT_FALSE(AnySounding() && !transport.Running()) << "a note hangs";
    ASSERT_FALSE(mutedSounded) << "a muted channel sounds";
    // An instrument label stands for a program or for none, whatever byte the song gave.
    for (const int program : transport.State().InstrumentProgram)
      ASSERT_TRUE(program >= -1 && program <= 127);
    MixShown();
  }

  // What the screen and the logs were given during the step, in the order asked; then they start afresh.
  void MixShown() {
    for (const auto& key : screen.keys) {
      // Keys 1..127 light (drawn one up), however the byte reads.
      ASSERT_TRUE(key.colour == kRedrawKeyboard || (key.key >= 2 && key.key <= 128)) << key.key;
      for (const int64_t value : {int64_t{key.id}, int64_t{key.key}, key.colour}) Mix(shown, value);
    }
    for (const auto& [id, levels] : screen.levels) {
      for (const int level : levels) Mix(shown, id * 1000 + level);
      ASSERT_TRUE(
          std::all_of(levels.begin(), levels.end(), [](int level) { return level >= 0 && level <= 127; }));
    }
    for (const auto& bar : screen.loopBars)
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
    for (const auto& texts : {screen.messages, screen.channelUsage, screen.lyrics, midi.Calls})
      for (const std::string& text : texts) Mix(shown, text);
    midi.Calls.clear();
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

  // Follows the words sent as a synthesizer would, and mixes them and their times (counted from the
  // first word, whatever the clock read then); tells whether any key sounds.
  std::array<std::bitset<256>, 16> sounding{};
  size_t followed = 0;
  bool mutedSounded = false;
  bool AnySounding() {
    for (; followed < midi.Sent.size(); ++followed) {
      const SentMessage& message = midi.Sent[followed];
      Mix(sentHash, message.word);
      Mix(sentHash, static_cast<uint64_t>(std::llround((message.timeMs - midi.Sent.front().timeMs) * 1000)));
      const auto channel = static_cast<size_t>(message.Status() & 0x0F);
      const auto key = static_cast<size_t>(message.Data1());
      const bool on = (message.Status() & 0xF0) == 0x90 && message.Data2() > 0;
      // Every button that mutes sends its silence at once: nothing muted sounds from then on.
      mutedSounded |= on && (transport.State().DataScale == 0 || transport.State().ChannelMuted[channel + 1]);
      if ((message.Status() & 0xF0) == 0x90) sounding[channel].set(key, on);
      if ((message.Status() & 0xF0) == 0x80) sounding[channel].reset(key);
      if ((message.Status() & 0xF0) == 0xB0 && key == 123) sounding[channel].reset();
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
    AnySounding();
    for (int step = 0; step < 30; ++step) {
      RandomStep();
      ASSERT_FALSE(HasFatalFailure()) << "session " << session << ", step " << step;
    }
    transport.StopPlayback();
    ASSERT_FALSE(AnySounding()) << "session " << session << " after Stop";
    transport.ResetSong();
  }
  AnySounding();
  // A change to what the sessions send or show, or when, shows here.
  EXPECT_EQ(midi.Sent.size(), 262672u);
  EXPECT_EQ(sentHash, 10033501388150130445ull);
  EXPECT_EQ(shown, 2751202510859966438ull);
}

}  // namespace
}  // namespace sonvela
