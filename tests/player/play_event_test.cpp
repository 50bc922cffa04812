#include "player/player_bench.h"

namespace sonvela {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// The default song runs one song tick per clock tick, and the events lie a tick apart from tick 1 on, so
// each Tick() plays one.
using PlayEventTest = PlayerBench;

TEST_F(PlayEventTest, MuteSendsZeroVelocitiesAndValuesUntilTurnedOff) {
  Play({{0x90, 60, 100, 1}, {0xB0, 7, 90, 2}, {0xE0, 0, 64, 3}, {0x90, 62, 100, 4}});
  transport.ToggleMute();
  EXPECT_THAT(Sent(), ElementsAreArray(AllNotesOffWords()));
  EXPECT_THAT(Tick(3), ElementsAre(Word(0x90, 60, 0), Word(0xB0, 7, 0), Word(0xE0, 0, 0)));
  transport.ToggleMute();
  EXPECT_THAT(Tick(), ElementsAre(Word(0x90, 62, 100)));
}

TEST_F(PlayEventTest, AMutedChannelSendsNothingAndStaysOutOfTheMonitor) {
  Play({{0x90, 60, 100, 1}, {0x91, 61, 90, 2}, {0xB1, 7, 90, 3}, {0x80, 60, 0, 4}});
  transport.ToggleMonitor();
  transport.ToggleChannel(2);
  EXPECT_EQ(screen.textColours[ChannelControl(kChannelButtonBase, 2)], kCaptionOff);
  Sent();
  EXPECT_THAT(Tick(4), ElementsAre(Word(0x90, 60, 100), Word(0x80, 60, 0)));
  EXPECT_THAT(
      logs.Debug.ToVector(),
      ElementsAre("tr= 1/p=   1/te=     1/chn= 1/&h90 060 on ", "da1= 144 da2=  60 da3= 100 da4=    1",
                  "tr= 1/p=   4/te=     4/chn= 1/&h80 060 off", "da1= 128 da2=  60 da3=   0 da4=    4"));
  EXPECT_EQ(transport.State().ChannelMeter[2][2], 0);  // nor did it reach its displays
  transport.ToggleChannel(2);
  EXPECT_EQ(screen.textColours[ChannelControl(kChannelButtonBase, 2)], kCaptionOn);
}

TEST_F(PlayEventTest, SoloLeavesOneChannelAndSoloOffBringsAllBack) {
  Play({{0x90, 60, 100, 1}, {0x93, 61, 90, 2}, {0x90, 62, 100, 3}, {0x93, 63, 90, 4}});
  transport.SoloChannel(4);
  EXPECT_THAT(Sent(), ElementsAreArray(AllNotesOffWords(2)));
  EXPECT_THAT(Tick(2), ElementsAre(Word(0x93, 61, 90)));
  transport.SoloOff();
  EXPECT_THAT(Tick(2),
              ElementsAreArray(Join({AllNotesOffWords(2), {Word(0x90, 62, 100), Word(0x93, 63, 90)}})));
  for (int channel = 1; channel <= 16; ++channel) {
    EXPECT_EQ(screen.textColours[ChannelControl(kChannelButtonBase, channel)], kCaptionOn);
  }
}

TEST_F(PlayEventTest, NotesLightKeysAndTheChannelIndicator) {
  Play({{0x92, 60, 100, 1}, {0x82, 60, 0, 2}});
  screen.keys.clear();
  Tick();
  const int indicator = ChannelControl(kChannelIndicatorBase, 3);
  EXPECT_EQ(screen.texts[indicator], "do");
  EXPECT_EQ(screen.backgrounds[indicator], kChannelColour[3]);
  EXPECT_EQ(transport.State().ChannelMeter[2][3], 100);
  ASSERT_EQ(screen.keys.size(), 2u);
  EXPECT_EQ(screen.keys[0].key, 61);
  EXPECT_EQ(screen.keys[1].id, kBigKeyboard);
  Tick();
  EXPECT_EQ(screen.texts[indicator], "-");
  EXPECT_EQ(screen.backgrounds[indicator], kChannelColour[0]);
  EXPECT_EQ(screen.keys.back().colour, kRestoreKey);
}

TEST_F(PlayEventTest, DataBytesBeyondMidiAreSentAsStoredButReachNoDisplayOutOfRange) {
  // The reader keeps data bytes 0..255 as found, e.g. a running-status byte 0xF8 taken for data; key 0
  // is a note too, but lights nothing.
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
  // Program 200 has an empty name, which the label shows instead of the instrument before it; but the
  // label stands for no program: stepping down from none sends nothing, up goes to 0, never above 127.
  EXPECT_THAT(screen.programs, ElementsAre(std::make_pair(200, kProgramShown)));
  EXPECT_EQ(transport.State().InstrumentProgram[1], -1);
  transport.StepInstrument(1, true, false);
  EXPECT_THAT(Sent(), IsEmpty());
  transport.StepInstrument(1, false, true);
  EXPECT_THAT(Sent(), ElementsAre(Word(0xC0, 0, 127)));
}

TEST_F(PlayEventTest, TextsGoToTheLyricLineTheMessageLogOrTheDebugLog) {
  NewSong(song, 100, 60);
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

TEST_F(PlayEventTest, ProgramChangesRetitleTheLabelAndStepsSendThem) {
  Play({{0xC0, 46, 0, 1}});
  Tick();
  EXPECT_EQ(screen.programs.back(), std::make_pair(46, kProgramShown));
  transport.StepInstrument(1, true, true);
  EXPECT_THAT(Sent(), ElementsAre(Word(0xC0, 45, 127), Word(0xC0, 46, 127)));
  EXPECT_EQ(screen.programs.back().second, kProgramStepped);
}

}  // namespace
}  // namespace sonvela
