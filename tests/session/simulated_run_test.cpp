// Simulated playing passes the stretches where nothing happens in one go: the messages and their times
// must be exactly those of stepping 10 ms at a time, and a song of huge pauses must end at once.

#include "session/simulated_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "player/capture_midi_out.h"
#include "session/play_session.h"

namespace sonvela {
namespace {

class QuietScreen : public Screen {
 public:
  void ShowMessage(std::string_view) override {}
  void SetText(int, std::string_view) override {}
  void SetBackground(int, Colour) override {}
  void SetTextColour(int, Colour) override {}
  void SetChecked(int, bool) override {}
  bool IsChecked(int) override { return true; }
  void DrawLevelBar(int, int) override {}
  void ShowProgramOnChannel(int, int, Colour) override {}
  void ShowChannelUsage(std::string_view) override {}
  void PaintChannelKeyboard(int, int, int64_t) override {}
  void PaintBigKeyboard(int, int64_t) override {}
  void ShowLyric(std::string_view) override {}
  void DrawLoopBar(float, float, double) override {}
  void PlayNextInList() override { onNext(); }
  void EndMainWindow() override {}
  std::function<void()> onNext;
};

class Files : public SongList {
 public:
  int Count() override { return static_cast<int>(paths.size()); }
  int SelectedIndex() override { return selected; }
  void Select(int index) override { selected = index; }
  std::string EntryText(int index) override { return paths[static_cast<size_t>(index)]; }
  std::vector<std::string> paths;
  int selected = -1;
};

using Bytes = std::vector<unsigned char>;

void AppendVarLen(Bytes& out, uint32_t value) {
  Bytes groups{static_cast<unsigned char>(value & 0x7F)};
  while ((value >>= 7) != 0) groups.insert(groups.begin(), static_cast<unsigned char>(0x80 | (value & 0x7F)));
  out.insert(out.end(), groups.begin(), groups.end());
}

// A format-1 file of the given tracks, each a list of (delta, event bytes); End of Track is added.
Bytes SongFile(const std::vector<std::vector<std::pair<uint32_t, Bytes>>>& tracks, int division = 96) {
  Bytes file = {'M',
                'T',
                'h',
                'd',
                0,
                0,
                0,
                6,
                0,
                1,
                0,
                static_cast<unsigned char>(tracks.size()),
                static_cast<unsigned char>(division >> 8),
                static_cast<unsigned char>(division & 0xFF)};
  for (const auto& track : tracks) {
    Bytes body;
    for (const auto& [delta, event] : track) {
      AppendVarLen(body, delta);
      body.insert(body.end(), event.begin(), event.end());
    }
    body.insert(body.end(), {0, 0xFF, 0x2F, 0});
    const auto size = static_cast<uint32_t>(body.size());
    file.insert(file.end(), {'M', 'T', 'r', 'k', static_cast<unsigned char>(size >> 24),
                             static_cast<unsigned char>(size >> 16), static_cast<unsigned char>(size >> 8),
                             static_cast<unsigned char>(size)});
    file.insert(file.end(), body.begin(), body.end());
  }
  return file;
}

class SimulatedRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("sonvela_run_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string Write(const std::string& name, const Bytes& bytes) {
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  struct Result {
    std::vector<SentMessage> sent;
    int64_t rounds = 0;
  };

  // Plays the files in turn until the last has ended or `limitMs` of simulated time has passed.
  static Result Play(const std::vector<std::string>& paths, const std::vector<ButtonPress>& presses,
                     bool skip, int64_t limitMs = 600'000) {
    SimulatedTicks ticks;
    CaptureMidiOut capture([&ticks] { return ticks.MonotonicMs(); });
    QuietScreen screen;
    Files files;
    files.paths = paths;
    PlaySession session({capture, ticks, ticks, screen, files});
    session.Presses = presses;
    bool started = false;
    session.beforePlay = [&] {
      if (started) return;
      started = true;
      capture.StartRecording();
      ticks.Start(kSecondSlot, kSecondPeriodMs);
    };
    screen.onNext = [&] { session.PlayNextInList(); };
    session.PlayNextInList();
    Result result;
    SimulatedRun run;
    run.done = [&] {
      ++result.rounds;
      const TransportState& state = session.State();
      const bool last = state.ContinuoOn == 0 || files.selected + 1 >= files.Count();
      return ticks.ElapsedMs() >= limitMs || (state.PlayStatus == kStatusEnded && last);
    };
    if (skip) {
      run.quietSteps = [&] { return session.Player().QuietSequencerTicks(); };
      run.passQuiet = [&](int64_t steps) { session.Player().PassQuietTicks(steps); };
    }
    RunSimulated(ticks, session, run);
    result.sent = capture.Messages();
    return result;
  }

  static void ExpectSame(const Result& stepped, const Result& skipped) {
    ASSERT_EQ(stepped.sent.size(), skipped.sent.size());
    for (size_t i = 0; i < stepped.sent.size(); ++i) {
      EXPECT_EQ(CaptureLine(stepped.sent[i]), CaptureLine(skipped.sent[i])) << "message " << i;
    }
    // An intro is timed on every progress tick: nothing is passed over while it runs.
    EXPECT_LE(skipped.rounds, stepped.rounds);
  }

  std::filesystem::path folder;
};

// Notes with long rests between them, loud notes whose level bars fall, a tempo change, a program
// change, a text and a second track that starts late.
Bytes SparseSong() {
  return SongFile({{{0, {0xC0, 5}},
                    {0, {0x90, 60, 127}},
                    {48, {0x80, 60, 0}},
                    {3000, {0xFF, 0x51, 3, 0x0F, 0x42, 0x40}},  // 60 BPM
                    {10, {0x90, 62, 40}},
                    {96, {0x90, 62, 0}},
                    {5000, {0xFF, 0x01, 3, 'H', 'e', 'y'}},
                    {1, {0x90, 64, 1}},
                    {2000, {0x80, 64, 0}}},
                   {{7000, {0x91, 40, 90}}, {500, {0x81, 40, 0}}}});
}

TEST_F(SimulatedRunTest, SkippingQuietStretchesSendsExactlyWhatSteppingDoes) {
  const std::string sparse = Write("sparse.mid", SparseSong());
  const std::string other = Write("other.mid", SongFile({{{200, {0x92, 50, 100}}, {4000, {0x82, 50, 0}}}}));
  const std::vector<std::pair<std::vector<std::string>, std::vector<ButtonPress>>> cases = {
      {{sparse}, {}},
      {{sparse}, {{Button::kHalve}, {Button::kOff, 2}}},
      {{sparse, other}, {{Button::kContinuo}}},
      {{sparse, other}, {{Button::kContinuo}, {Button::kIntro}}},
      {{sparse}, {{Button::kMonitor}, {Button::kMute}}},
  };
  for (const auto& [paths, presses] : cases) {
    SCOPED_TRACE(testing::Message() << paths.size() << " files, " << presses.size() << " presses");
    ExpectSame(Play(paths, presses, false), Play(paths, presses, true));
  }
  // A loop never ends: both stop at the same simulated time.
  const std::vector<ButtonPress> loop = {{Button::kLoop, 0, 20, 60}};
  ExpectSame(Play({sparse}, loop, false, 120'000), Play({sparse}, loop, true, 120'000));
}

TEST_F(SimulatedRunTest, QuietStretchesArePassedInOneGoAndHugePausesEndAtOnce) {
  // Deltas that add up to 2^31 ticks: 10 ms steps would take days of simulated rounds.
  std::vector<std::pair<uint32_t, Bytes>> track = {{0, {0x90, 60, 100}}};
  for (int i = 0; i < 8; ++i) track.push_back({0x0FFFFFFF, {0xB0, 7, static_cast<unsigned char>(i)}});
  track.push_back({1, {0x80, 60, 0}});
  const std::string sparse = Write("sparse.mid", SparseSong());
  EXPECT_LT(Play({sparse}, {}, true).rounds * 5, Play({sparse}, {}, false).rounds);
  const Result result = Play({Write("huge.mid", SongFile({track}))}, {}, true, INT64_MAX);
  EXPECT_LT(result.rounds, 1000);
  ASSERT_FALSE(result.sent.empty());
  // The last note ends, then the song's end silences every channel.
  EXPECT_EQ(result.sent[result.sent.size() - 17].word, 0x3C80u);
}

}  // namespace
}  // namespace sonvela
