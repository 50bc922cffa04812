// What a load shows of the song beyond its notes: the channels it leaves unused, and its words when they
// are Lyric events (kind 5) rather than karaoke Text events.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "player/recording_midi_out.h"
#include "session/lyric_line.h"
#include "session/play_session.h"
#include "support/fake_ports.h"
#include "support/midi_builder.h"
#include "support/temp_folder.h"

namespace sonvela {
namespace {

using namespace test;

struct LoadDisplays : ::testing::Test {
  TempFolder folder;
  RecordingMidiOut midi;
  ManualTimers timers;
  SettableClock clock;
  RecordingScreen screen;
  VectorSongList songs;
  PlaySession session{{midi, timers, clock, screen, songs}};
};

TEST_F(LoadDisplays, LyricEventsFeedTheLyricLineOnlyWhenTheSongHasNoTextEventsAndTheLogKeepsThem) {
  const auto sung = [&](const std::string& events) {
    screen.lyrics.clear();
    const std::string path = folder.Write("song.mid", Header(0, 1, 96) + Track(events + kEndOfTrack));
    EXPECT_TRUE(session.LoadAndPlay(LoadVariant::kList, path));
    for (int tick = 0; tick < 100; ++tick) timers.Tick(session, kSequencerSlot);
    LyricLine line;
    std::vector<std::string> lines;
    for (const std::string& piece : screen.lyrics) {
      std::string finished;
      if (line.Add(piece, &finished)) lines.push_back(finished);
    }
    lines.push_back(line.Text);
    return lines;
  };
  // A "/" or "\\" starts a line; a Lyric ending in a line break ends one.
  EXPECT_THAT(sung(Meta(0, 5, "Twin") + Meta(10, 5, "kle\r") + Meta(10, 5, "lit") + Meta(10, 5, "tle") +
                   Meta(10, 5, "/How")),
              ::testing::ElementsAre("Twinkle", "little", "How"));
  EXPECT_EQ(session.SessionLogs().Messages.Back(), "Lyric:/How");
  // With karaoke Text events, those are the song's words: its Lyric events only reach the log.
  EXPECT_THAT(sung(Meta(0, 1, "\\Sing") + Meta(10, 5, "other")), ::testing::ElementsAre("", "Sing"));
  EXPECT_EQ(session.SessionLogs().Messages.Back(), "Lyric:other");
}

TEST_F(LoadDisplays,
       ChannelsUsedChannelsWithoutNotesShowNoUntilTheNextLoadAndTheBigKeyboardFollowsTheOthers) {
  // Notes on channels 1 and 10, the second note a long while later.
  const std::string song =
      Header(0, 1, 96) + Track(Bytes({0, 0x90, 60, 100, 0, 0x99, 36, 100, 96, 0x80, 60, 0}) +
                               Bytes({96, 0x89, 36, 0}) + kEndOfTrack);
  ASSERT_TRUE(session.LoadAndPlay(LoadVariant::kList, folder.Write("song.mid", song)));
  for (int tick = 0; tick < 50; ++tick) timers.Tick(session, kSequencerSlot);
  for (int channel = 1; channel <= 16; ++channel) {
    const int indicator = ChannelControl(kChannelIndicatorBase, channel);
    const bool used = channel == 1 || channel == 10;
    EXPECT_EQ(screen.texts[indicator] == " NO", !used) << channel;
    EXPECT_EQ(screen.backgrounds[indicator] == kUnusedChannel, !used) << channel;
    EXPECT_EQ(screen.texts[ChannelControl(kChannelFilterBase, channel)],
              used ? "*[" + std::to_string(channel) + "]*" : std::to_string(channel));
    EXPECT_EQ(session.View().ChannelFilter[static_cast<size_t>(channel)], channel == 1) << channel;
    EXPECT_EQ(screen.checked[ChannelControl(kChannelFilterBase, channel)], channel == 1) << channel;
  }
}

}  // namespace
}  // namespace sonvela
