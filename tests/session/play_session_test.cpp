// Each variant's load-and-play steps, the next song of the list, and simulated playing that skips quiet time.

#include "session/play_session.h"

#include "compose/compose_song.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "player/capture_midi_out.h"
#include "player/recording_midi_out.h"
#include "session/simulated_run.h"
#include "support/fake_ports.h"
#include "support/midi_builder.h"
#include "support/temp_folder.h"

namespace sonvela {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace test;

// Records the window's steps of the load sequence, each with whether CommandLineSong was empty then.
class StepScreen : public RecordingScreen {
 public:
  void Step(const std::string& what) {
    steps.push_back(what + (session != nullptr && session->CommandLineSong.empty() ? "" : " (cl)"));
  }
  void SetText(int id, std::string_view text) override {
    if (id == kBpmLabel) Step(std::string(text));
  }
  void ShowChannelUsage(std::string_view) override { Step("play"); }
  void PaintChannelKeyboard(int id, int, int64_t colour) override {
    // Silence redraws them too: only the redraws after the song map are the load's own.
    if (colour == kRedrawKeyboard && !steps.empty() &&
        (steps.back() == "map" || steps.back().starts_with("k")))
      Step("keyboard " + std::to_string(id));
  }
  void SetEnabled(int id, bool enabled) override {
    if (id == kPlayButton) Step(enabled ? "enable" : "disable");
  }
  void ShowSongTitle(std::string_view name) override { Step("title " + std::string(name)); }
  void DrawSongMap() override { Step("map"); }

  PlaySession* session = nullptr;
  std::vector<std::string> steps;
};

// One note of a quarter at 96 ticks a quarter.
const std::string kOneNote =
    Header(0, 1, 96) + Track(Bytes({0x00, 0x90, 60, 100, 96, 0x80, 60, 0}) + kEndOfTrack);

class PlaySessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    songs.onStep = [this](const std::string& step) { screen.Step(step); };
    screen.session = &session;
  }
  std::string WriteSong(const std::string& name) { return folder.Write(name, kOneNote); }

  TempFolder folder;
  RecordingMidiOut midi;
  ManualTimers timers;
  SettableClock clock;
  StepScreen screen;
  VectorSongList songs;
  PlaySession session{{midi, timers, clock, screen, songs}};
};

TEST_F(PlaySessionTest, EachVariantTakesItsStepsInItsOrder) {
  const std::string path = WriteSong("a.mid"), gone = (folder.path / "gone.mid").string();
  // Create plays the composer's file from the current folder, then redraws the song map and keyboards.
  WriteSong(kComposedFileName);
  std::vector<std::string> created = {"disable (cl)", "title creato.mid (cl)", "enable (cl)", "play", "map"};
  for (int i = 0; i < 16; ++i) created.push_back("keyboard " + std::to_string(kChannelKeyboardBase + i));
  // The command line keeps its song until just before Play. A cancelled dialog still refills the list of
  // the current folder; a vanished file says why and leaves Play usable.
  using enum LoadVariant;
  const std::vector<std::string> listed = {"disable", "title " + path, "BPM 120", "enable", "play", "map"};
  std::vector<std::string> chosen = {"choose (cl)", "fill " + path + " (cl)"};
  chosen.insert(chosen.end(), listed.begin(), listed.end());
  const std::vector<std::tuple<LoadVariant, std::string, std::string, std::vector<std::string>>> cases = {
      {kList, path, "pending", listed},
      {kLoad, path, "pending", chosen},
      {kCommandLine, path, path, {"disable (cl)", "title " + path + " (cl)", "enable (cl)", "play", "map"}},
      {kCreate, path, "pending", created},
      {kLoad, "", "", {"choose", "fill "}},
      {kList, gone, "", {"disable", "title " + gone, "BPM 0", "enable", "map"}}};
  const auto here = std::filesystem::current_path();
  std::filesystem::current_path(folder.path);
  for (const auto& [variant, file, commandLine, steps] : cases) {
    screen.steps.clear();
    midi.Sent.clear();
    songs.chosen = file;
    session.CommandLineSong = commandLine;
    EXPECT_EQ(session.LoadAndPlay(variant, file), file == path);
    EXPECT_EQ(screen.steps, steps);
    EXPECT_EQ(session.Document().FileName, variant == kCreate ? kComposedFileName : file);
  }
  std::filesystem::current_path(here);
  // Only the vanished file said why, and nothing was sent for it but the reset's silence.
  EXPECT_THAT(screen.messages, ElementsAre(::testing::HasSubstr("gone.mid"), ::testing::_));
  EXPECT_EQ(midi.Sent.size(), 16u);
  EXPECT_EQ(timers.running[kSequencerSlot], 0u);
}

TEST_F(PlaySessionTest, ContinuoPlaysTheNextInTheListOnceASongEndsAndWrapsAfterTheLast) {
  songs.entries = {WriteSong("a.mid"), WriteSong("b.mid"), WriteSong("c.mid")};
  session.Apply({CommandKind::kContinuo});
  session.Player().StartSecondTick();
  for (const auto& [selected, next] : {std::pair{-1, 0}, {2, 0}, {0, 1}}) {
    songs.selected = selected;
    ASSERT_TRUE(session.LoadAndPlay(LoadVariant::kList, WriteSong("other.mid")));
    for (int tick = 0; tick < 60; ++tick) timers.Tick(session, kSequencerSlot);  // 50 reach the end
    timers.Tick(session, kSecondSlot);
    EXPECT_EQ(songs.selected, next);
    EXPECT_EQ(session.Document().FileName, songs.entries[static_cast<size_t>(next)]);
  }
  // With an empty list the ended song is reset and nothing plays.
  songs.entries.clear();
  songs.selected = -1;
  EXPECT_FALSE(session.PlayNextInList());
  EXPECT_EQ(session.Document().Tables.TrackCount, 0);
}

TEST_F(PlaySessionTest, SettingsArePressedOnceAndSongButtonsAfterEveryLoad) {
  const std::string path = WriteSong("a.mid");
  session.Presses = {{CommandKind::kContinuo}, {CommandKind::kHalveTempo}};
  int plays = 0;
  session.beforePlay = [&] { ++plays; };
  ASSERT_TRUE(session.LoadAndPlay(LoadVariant::kList, path));
  ASSERT_TRUE(session.LoadAndPlay(LoadVariant::kList, path));
  EXPECT_EQ(plays, 2);
  EXPECT_EQ(session.State().ContinuoOn, 1);
  EXPECT_EQ(session.Document().Tables.TempoBpm, 60);
}

TEST_F(PlaySessionTest, AClockThatCannotAdvanceStopsPlayingWithAMessage) {
  // Pause pressed twice with no song starts the clock: nothing is stuck there.
  session.Player().PausePlayback();
  session.Player().PausePlayback();
  session.OnTimerTick(kSequencerSlot);
  EXPECT_THAT(screen.messages, IsEmpty());
  ASSERT_TRUE(session.LoadAndPlay(LoadVariant::kList, WriteSong("a.mid")));
  bool stuck = false;
  session.onClockStuck = [&] { stuck = true; };
  for (int i = 0; i < 8; ++i) session.Player().HalveTempo();  // 120 halved down to 0
  session.OnTimerTick(kSequencerSlot);
  EXPECT_TRUE(stuck);
  EXPECT_FALSE(session.Player().Running());
  EXPECT_THAT(screen.messages,
              ElementsAre("The song clock cannot advance (Division 96, BPM 0): playing stops."));
}

struct Simulated {
  std::vector<std::string> sent;  // as captured
  int64_t rounds = 0;
};

// Plays the files in turn until the last has ended or `limitMs` of simulated time has passed.
Simulated Simulate(const std::vector<std::string>& paths, const std::vector<Command>& presses, bool skip,
                   int64_t limitMs = 600'000) {
  SimulatedTicks ticks({2024, 5, 6, 10, 0, 0});
  CaptureMidiOut capture([&ticks] { return ticks.MonotonicMs(); });
  RecordingScreen screen;
  VectorSongList files;
  files.entries = paths;
  files.goesRound = false;
  PlaySession session({capture, ticks, ticks, screen, files});
  session.Presses = presses;
  session.beforePlay = [&, started = false]() mutable {
    if (std::exchange(started, true)) return;
    capture.StartRecording();
    ticks.Start(kSecondSlot, kSecondPeriodMs);
  };
  session.PlayNextInList();
  Simulated result;
  SimulatedRun run;
  run.done = [&] {
    ++result.rounds;
    const bool last = session.State().ContinuoOn == 0 || files.NextIndex() < 0;
    return ticks.ElapsedMs() >= limitMs || (session.State().PlayStatus == kStatusEnded && last);
  };
  if (skip) {
    run.quietSteps = [&] { return session.Player().QuietSequencerTicks(); };
    run.passQuiet = [&](int64_t steps) { session.Player().PassQuietTicks(steps); };
  }
  RunSimulated(ticks, session, run);
  for (const SentMessage& message : capture.Messages()) result.sent.push_back(CaptureLine(message));
  return result;
}

// Long rests, loud notes, tempo and program changes, a text and a second track that starts late.
std::string SparseSong() {
  return Header(1, 2, 96) +
         Track(Bytes({0, 0xC0, 5, 0, 0x90, 60, 127, 48, 0x80, 60, 0}) + Delta(3000) +
               Bytes({0xFF, 0x51, 3, 0x0F, 0x42, 0x40}) +  // 60 BPM
               Bytes({10, 0x90, 62, 40, 96, 0x90, 62, 0}) + Meta(5000, 0x01, "Hey") +
               Bytes({1, 0x90, 64, 1}) + Delta(2000) + Bytes({0x80, 64, 0}) + kEndOfTrack) +
         Track(Delta(7000) + Bytes({0x91, 40, 90}) + Delta(500) + Bytes({0x81, 40, 0}) + kEndOfTrack);
}

TEST(SimulatedRun, SkippingQuietStretchesSendsExactlyWhatSteppingDoesInFewerRounds) {
  TempFolder folder;
  const std::string sparse = folder.Write("sparse.mid", SparseSong());
  const std::string other =
      folder.Write("other.mid", Header(1, 1, 96) + Track(Delta(200) + Bytes({0x92, 50, 100}) + Delta(4000) +
                                                         Bytes({0x82, 50, 0}) + kEndOfTrack));
  // A loop never ends: it stops at the time limit.
  const std::vector<std::tuple<std::vector<std::string>, std::vector<Command>, int64_t>> cases = {
      {{sparse}, {}, 600'000},
      {{sparse}, {{CommandKind::kHalveTempo}, {CommandKind::kChannelOnOff, 2}}, 600'000},
      {{sparse, other}, {{CommandKind::kContinuo}}, 600'000},
      {{sparse, other}, {{CommandKind::kContinuo}, {CommandKind::kIntro}}, 600'000},
      {{sparse}, {{CommandKind::kMonitor}, {CommandKind::kMute}}, 600'000},
      {{sparse}, {{CommandKind::kLoopStart, 0, 20}, {CommandKind::kLoopEnd, 0, 60}}, 120'000}};
  for (const auto& [paths, presses, limitMs] : cases) {
    SCOPED_TRACE(testing::Message() << paths.size() << " files, " << presses.size() << " presses");
    const Simulated stepped = Simulate(paths, presses, false, limitMs),
                    skipped = Simulate(paths, presses, true, limitMs);
    const auto [step, skip] =
        std::mismatch(stepped.sent.begin(), stepped.sent.end(), skipped.sent.begin(), skipped.sent.end());
    EXPECT_TRUE(step == stepped.sent.end() && skip == skipped.sent.end())
        << "from message " << step - stepped.sent.begin();
    // An intro is timed on every progress tick: nothing is passed over while it runs.
    EXPECT_LE(skipped.rounds, stepped.rounds);
    if (presses.empty()) {
      EXPECT_LT(skipped.rounds * 5, stepped.rounds);
    }
  }
}

TEST(SimulatedRun, HugePausesArePassedInOneGo) {
  // Deltas that add up to 2^31 ticks: 10 ms steps would take days of simulated rounds.
  std::string huge = Bytes({0, 0x90, 60, 100});
  for (int i = 0; i < 8; ++i) huge += Delta(0x0FFFFFFF) + Bytes({0xB0, 7, i});
  huge += Bytes({1, 0x80, 60, 0}) + kEndOfTrack;
  TempFolder folder;
  const Simulated result =
      Simulate({folder.Write("huge.mid", Header(1, 1, 96) + Track(huge))}, {}, true, INT64_MAX);
  EXPECT_LT(result.rounds, 1000);
  ASSERT_GE(result.sent.size(), 17u);
  // The last note ends, then the song's end silences every channel.
  EXPECT_THAT(result.sent[result.sent.size() - 17], ::testing::EndsWith("\t128\t60\t0"));
}

}  // namespace
}  // namespace sonvela
