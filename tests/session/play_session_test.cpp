// The load-and-play sequence of every variant, the next song of the list, and what the session adds
// around the transport.

#include "session/play_session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "player/control_ids.h"
#include "player/recording_midi_out.h"
#include "session/lyric_line.h"

namespace sonvela {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

class NoTimers : public TickTimers {
 public:
  uint32_t Start(int slot, int) override { return running[static_cast<size_t>(slot)] = ++lastId; }
  void Kill(int slot) override {
    if (slot == 0) running.fill(0);
    if (slot > 0 && slot < 4) running[static_cast<size_t>(slot)] = 0;
  }
  std::array<uint32_t, 4> running{};
  uint32_t lastId = 0;
};

class FixedClock : public WallClock {
 public:
  double MillisecondsSinceMidnight() override { return 36'000'000; }
  double MonotonicMs() override { return 0; }
  LocalDateTime Now() override { return {2024, 5, 6, 10, 0, 0}; }
};

// Records the window's steps of the load sequence, each with whether CommandLineSong was empty then.
class StepScreen : public Screen {
 public:
  void Step(const std::string& what) {
    steps.push_back(what + (session != nullptr && session->CommandLineSong.empty() ? "" : " (cl)"));
  }
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  void SetText(int id, std::string_view text) override {
    if (id == kBpmLabel) Step(std::string(text));
  }
  void SetBackground(int, Colour) override {}
  void SetTextColour(int, Colour) override {}
  void SetChecked(int, bool) override {}
  bool IsChecked(int) override { return true; }
  void DrawLevelBar(int, int) override {}
  void ShowProgramOnChannel(int, int, Colour) override {}
  void ShowChannelUsage(std::string_view) override { Step("play"); }
  void PaintChannelKeyboard(int id, int, int64_t colour) override {
    // Silence redraws them too: only the redraws after the song map are the load's own.
    if (colour == kRedrawKeyboard && !steps.empty() && steps.back().starts_with("map")) mapDrawn = true;
    if (colour == kRedrawKeyboard && mapDrawn) Step("keyboard " + std::to_string(id));
  }
  void PaintBigKeyboard(int, int64_t) override {}
  void ShowLyric(std::string_view) override {}
  void DrawLoopBar(float, float, double) override {}
  void PlayNextInList() override {}
  void EndMainWindow() override {}
  void SetEnabled(int id, bool enabled) override {
    if (id == kPlayButton) Step(enabled ? "enable" : "disable");
  }
  void ShowSongTitle(std::string_view name) override { Step("title " + std::string(name)); }
  void DrawSongMap() override {
    Step("map");
    mapDrawn = false;
  }

  PlaySession* session = nullptr;
  bool mapDrawn = false;
  std::vector<std::string> steps, messages;
};

class VectorSongList : public SongList {
 public:
  int Count() override { return static_cast<int>(entries.size()); }
  int SelectedIndex() override { return selected; }
  void Select(int index) override { selected = index; }
  std::string EntryText(int index) override { return entries[static_cast<size_t>(index)]; }
  std::string ChooseSongFile() override {
    screen->Step("choose");
    return chosen;
  }
  void FillSongList(const std::string& name) override { screen->Step("fill " + name); }

  StepScreen* screen = nullptr;
  std::vector<std::string> entries;
  int selected = -1;
  std::string chosen;
};

// One note of a quarter at 96 ticks a quarter.
constexpr unsigned char kOneNote[] = {'M', 'T', 'h', 'd',  0,   0,   0, 6,    0,    0,  0, 1,
                                      0,   96,  'M', 'T',  'r', 'k', 0, 0,    0,    12, 0, 0x90,
                                      60,  100, 96,  0x80, 60,  0,   0, 0xFF, 0x2F, 0};

class PlaySessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder =
        std::filesystem::temp_directory_path() /
        ("sonvela_session_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(folder);
    songs.screen = &screen;
    screen.session = &session;
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string WriteSong(const std::string& name) {
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(kOneNote), sizeof kOneNote);
    return path;
  }

  std::filesystem::path folder;
  RecordingMidiOut midi;
  NoTimers timers;
  FixedClock clock;
  StepScreen screen;
  VectorSongList songs;
  PlaySession session{{midi, timers, clock, screen, songs}};
};

TEST_F(PlaySessionTest, EachVariantTakesItsStepsInItsOrder) {
  const std::string path = WriteSong("a.mid");
  session.CommandLineSong = "pending";
  EXPECT_TRUE(session.LoadAndPlay(LoadVariant::kList, path));
  EXPECT_THAT(screen.steps, ElementsAre("disable", "title " + path, "BPM 120", "enable", "play", "map"));

  screen.steps.clear();
  songs.chosen = path;
  EXPECT_TRUE(session.LoadAndPlay(LoadVariant::kLoad));
  EXPECT_THAT(screen.steps,
              ElementsAre("choose", "fill " + path, "disable", "title " + path, "BPM 120", "enable", "play"));

  // The command line keeps its song until just before Play, and logs the name.
  screen.steps.clear();
  session.CommandLineSong = path;
  EXPECT_TRUE(session.LoadAndPlay(LoadVariant::kCommandLine));
  EXPECT_THAT(screen.steps, ElementsAre("disable (cl)", "title " + path + " (cl)", "enable (cl)", "play"));
  EXPECT_EQ(session.Document().Tables.SongFileName, path);

  // Create plays the composer's file from the current folder, then redraws the song map and keyboards.
  screen.steps.clear();
  const auto here = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  WriteSong(kCreatedSongFile);
  session.CommandLineSong = "pending";
  EXPECT_TRUE(session.LoadAndPlay(LoadVariant::kCreate));
  std::filesystem::current_path(here);
  std::vector<std::string> created = {"disable (cl)", "title creato.mid (cl)", "enable (cl)", "play", "map"};
  for (int i = 0; i < 16; ++i) created.push_back("keyboard " + std::to_string(kChannelKeyboardBase + i));
  EXPECT_THAT(screen.steps, ElementsAreArray(created));
  EXPECT_THAT(screen.messages, IsEmpty());
}

TEST_F(PlaySessionTest, NothingChosenOrUnreadableLoadsAndPlaysNothing) {
  // A cancelled dialog still refills the list of the current folder.
  EXPECT_FALSE(session.LoadAndPlay(LoadVariant::kLoad));
  EXPECT_THAT(screen.steps, ElementsAre("choose", "fill "));
  EXPECT_TRUE(session.Document().Tables.SongFileName.empty());

  // A vanished file says why, leaves Play usable and sends nothing but the reset's silence.
  screen.steps.clear();
  midi.Sent.clear();
  EXPECT_FALSE(session.LoadAndPlay(LoadVariant::kList, (folder / "gone.mid").string()));
  EXPECT_THAT(screen.steps,
              ElementsAre("disable", "title " + (folder / "gone.mid").string(), "BPM 0", "enable"));
  ASSERT_FALSE(screen.messages.empty());
  EXPECT_THAT(screen.messages.front(), ::testing::HasSubstr("gone.mid"));
  EXPECT_EQ(midi.Sent.size(), 16u);
  EXPECT_EQ(timers.running[kSequencerSlot], 0u);
}

TEST_F(PlaySessionTest, NextInListMovesOnAndWrapsAfterTheLast) {
  songs.entries = {WriteSong("a.mid"), WriteSong("b.mid"), WriteSong("c.mid")};
  EXPECT_TRUE(session.PlayNextInList());  // no selection: the first
  EXPECT_EQ(songs.selected, 0);
  songs.selected = 2;
  EXPECT_TRUE(session.PlayNextInList());
  EXPECT_EQ(songs.selected, 0);
  EXPECT_EQ(session.Document().Tables.SongFileName, songs.entries[0]);
  EXPECT_TRUE(session.PlayNextInList());
  EXPECT_EQ(session.Document().Tables.SongFileName, songs.entries[1]);

  // With an empty list the ended song is reset and nothing plays.
  songs.entries.clear();
  songs.selected = -1;
  EXPECT_FALSE(session.PlayNextInList());
  EXPECT_TRUE(session.Document().Tables.SongFileName.empty());
  EXPECT_EQ(session.Document().Tables.TrackCount, 0);
}

TEST_F(PlaySessionTest, SettingsArePressedOnceAndSongButtonsAfterEveryLoad) {
  const std::string path = WriteSong("a.mid");
  session.Presses = {{Button::kContinuo}, {Button::kHalve}};
  int plays = 0;
  session.beforePlay = [&] { ++plays; };
  ASSERT_TRUE(session.LoadAndPlay(LoadVariant::kList, path));
  ASSERT_TRUE(session.LoadAndPlay(LoadVariant::kList, path));
  EXPECT_EQ(plays, 2);
  EXPECT_EQ(session.State().ContinuoOn, 1);
  EXPECT_EQ(session.Document().Tables.TempoBpm, 60);
}

TEST_F(PlaySessionTest, AClockThatCannotAdvanceStopsPlayingWithAMessage) {
  ASSERT_TRUE(session.LoadAndPlay(LoadVariant::kList, WriteSong("a.mid")));
  bool stuck = false;
  session.onClockStuck = [&] { stuck = true; };
  session.OnTimerTick(kSequencerSlot);
  EXPECT_FALSE(stuck);
  for (int i = 0; i < 8; ++i) session.Player().HalveTempo();  // 120 halved down to 0
  session.OnTimerTick(kSequencerSlot);
  EXPECT_TRUE(stuck);
  EXPECT_FALSE(session.Player().Running());
  EXPECT_THAT(screen.messages,
              ElementsAre("The song clock cannot advance (Division 96, BPM 0): playing stops."));
}

TEST(LyricLineTest, MarksStartANewLineAndAreNeverShown) {
  for (const char* mark : {"/", "\\"}) {
    LyricLine line;
    std::string finished;
    EXPECT_FALSE(line.Add("Hel"));
    EXPECT_FALSE(line.Add("lo"));
    EXPECT_EQ(line.Text, "Hello");
    EXPECT_TRUE(line.Add(std::string(mark) + "world", &finished));
    EXPECT_EQ(finished, "Hello");
    EXPECT_EQ(line.Text, "world");
  }
}

}  // namespace
}  // namespace sonvela
