#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "player/fake_ports.h"
#include "player/midi_primitives.h"
#include "player/recording_midi_out.h"

namespace sonvela {
namespace {

TEST(SilenceAll, SendsAllNotesOffOnEveryChannelAndRestsTheDisplays) {
  RecordingMidiOut midi;
  RecordingScreen screen;
  SilenceAll(midi, screen);
  ASSERT_EQ(midi.Sent.size(), 16u);
  for (int channel = 0; channel < 16; ++channel) {
    EXPECT_EQ(midi.Sent[static_cast<size_t>(channel)].word,
              static_cast<uint32_t>(0xB0 + channel + 256 * 123));
    EXPECT_EQ(screen.levels[kLevelBarBase + channel].back(), 0);
  }
  EXPECT_EQ(screen.keys.back().id, kBigKeyboard);
}

TEST(ProgramChange, NeedsAnOpenOutput) {
  RecordingMidiOut midi;
  RecordingScreen screen;
  ProgramChange(midi, screen, 18, 0);
  EXPECT_TRUE(midi.Sent.empty());
  EXPECT_TRUE(screen.mainWindowEnded);
  EXPECT_THAT(screen.messages, ::testing::ElementsAre("Errore in Midi_progchang. Device?"));

  ASSERT_TRUE(OpenDefaultMidiOut(midi));
  ProgramChange(midi, screen, 18, 2);
  ASSERT_EQ(midi.Sent.size(), 1u);
  EXPECT_EQ(midi.Sent[0].word, 0xC2u + 256 * 18);
}

TEST(RecordingMidiOut, TimesEachWordFromTheClockOrTheCaller) {
  SettableClock clock;
  RecordingMidiOut timed(&clock);
  timed.MarkStart();
  clock.ms += 12.5;
  timed.Send(144 + 256 * 60 + 65536 * 100);
  EXPECT_EQ(CaptureLine(timed.Sent[0]), "12.500\t144\t60\t100");

  RecordingMidiOut counted;
  counted.SetTimeMs(10.0 * 7);
  counted.Send(0x80 + 256 * 60);
  EXPECT_EQ(CaptureLine(counted.Sent[0]), "70.000\t128\t60\t0");
}

}  // namespace
}  // namespace sonvela
