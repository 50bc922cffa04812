// The WAV files the platform writes: rendered offline from MIDI, and the writer under them.

#include "platform/offline_renderer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/midi_out_codes.h"
#include "platform/peak_limiter.h"
#include "platform/wav_writer.h"
#include "temp_folder.h"
#include "wav_samples.h"

namespace sonvela {
namespace {

constexpr uint32_t kOrganProgram = 0xC0 | (19 << 8);
constexpr uint32_t kMiddleCOn = 0x90 | (60 << 8) | (100 << 16);
constexpr uint32_t kMiddleCOffByVelocityZero = 0x90 | (60 << 8);
// Dither of the 16-bit conversion leaves at most a unit or two on silence.
constexpr int kSilence = 2;
constexpr int kAudible = 1000;
// The limiter's threshold in 16-bit units, plus the dither's one unit.
const int kLimitedPeak = static_cast<int>(std::ceil(kLimiterThreshold * 32766)) + 1;
constexpr uint32_t kCalliopeProgram = 0xC0 | (82 << 8);

uint32_t NoteOn(int channel, int key, int velocity) {
  return 0x90 | channel | (key << 8) | (velocity << 16);
}

class OfflineRendererTest : public testing::Test {
 protected:
  std::string WavPath() const { return (folder_.path / "rendered.wav").string(); }
  // Renders `ms` in the 10 ms steps the CLI uses.
  static void RenderInTicks(OfflineRenderer& renderer, int ms) {
    for (int i = 0; i < ms / 10; ++i) ASSERT_TRUE(renderer.Render(10));
  }

 private:
  test::TempFolder folder_;
};

TEST_F(OfflineRendererTest, WritesExactLengthWithCorrectHeaderUpToItsLimitAndReportsAnUnwritableFile) {
  OfflineRenderer renderer;
  ASSERT_TRUE(renderer.Begin(WavPath()));
  RenderInTicks(renderer, 2500);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(renderer.Render(1.1));
  ASSERT_TRUE(renderer.Finish());
  // Fractions accumulate instead of rounding per call: 2503.3 ms are 110395.53 frames.
  const int64_t frames = std::llrint(2503.3 * 44.1);
  EXPECT_EQ(renderer.FramesWritten(), frames);
  const test::WavSamples wav = test::ReadWav(WavPath());
  ASSERT_TRUE(wav.valid);
  EXPECT_EQ(wav.channels, 2);
  EXPECT_EQ(wav.sampleRate, 44100);
  EXPECT_EQ(wav.Frames(), static_cast<size_t>(frames));
  EXPECT_EQ(wav.dataSize, frames * 4);
  EXPECT_EQ(wav.riffSize, wav.dataSize + 36);
  EXPECT_EQ(wav.fileSize, 44 + wav.dataSize);

  OfflineRenderer limited({}, {}, 44100);
  ASSERT_TRUE(limited.Begin(WavPath()));
  EXPECT_TRUE(limited.Render(3000));  // returns: more rendering adds nothing
  EXPECT_TRUE(limited.Full());
  EXPECT_EQ(limited.FramesWritten(), 44100);
  ASSERT_TRUE(limited.Finish());
  EXPECT_EQ(test::ReadWav(WavPath()).Frames(), 44100u);

  std::vector<std::string> log;
  OfflineRenderer unwritable({}, [&log](const std::string& line) { log.push_back(line); });
  EXPECT_FALSE(unwritable.Begin("/nonexistent-folder/out.wav"));
  ASSERT_FALSE(log.empty());
  EXPECT_NE(log.back().find("/nonexistent-folder/out.wav"), std::string::npos);
  EXPECT_FALSE(unwritable.Finish());
}

TEST_F(OfflineRendererTest, SoundsOnlyWhileANoteIsHeldAndClosingReleasesNotesAndDropsLaterMessages) {
  OfflineRenderer renderer;
  ASSERT_TRUE(renderer.Begin(WavPath()));
  EXPECT_EQ(renderer.OpenDeviceId(), 0);
  renderer.Send(kOrganProgram);
  RenderInTicks(renderer, 500);
  renderer.Send(kMiddleCOn);
  RenderInTicks(renderer, 1000);
  renderer.Send(kMiddleCOffByVelocityZero);
  RenderInTicks(renderer, 3000);
  renderer.Send(kMiddleCOn);
  RenderInTicks(renderer, 500);
  EXPECT_EQ(renderer.Close(), kMidiOutOk);
  EXPECT_EQ(renderer.OpenDeviceId(), -1);
  RenderInTicks(renderer, 2000);
  renderer.Send(kMiddleCOn);
  RenderInTicks(renderer, 1000);
  ASSERT_TRUE(renderer.Finish());

  const test::WavSamples wav = test::ReadWav(WavPath());
  ASSERT_TRUE(wav.valid);
  EXPECT_LE(wav.Peak(0, 500), kSilence) << "no notes yet";
  EXPECT_GE(wav.Peak(600, 1500), kAudible) << "the held note";
  EXPECT_LE(wav.Peak(4000, 4500), kSilence) << "a note-on with velocity 0 ends the note";
  EXPECT_GE(wav.Peak(4600, 5000), kAudible);
  EXPECT_LE(wav.Peak(6500, 8000), kSilence) << "Close releases the note and drops what comes after";

  EXPECT_EQ(renderer.Close(), kMidiOutNotOpen);
  EXPECT_EQ(renderer.Open(1), kMidiOutBadDevice);
  EXPECT_EQ(renderer.OpenDeviceId(), -1);
  EXPECT_EQ(renderer.Open(kDefaultMidiOut), kMidiOutOk);
  EXPECT_EQ(renderer.OpenDeviceId(), 0);
  EXPECT_EQ(renderer.DeviceCount(), 1);
  EXPECT_EQ(renderer.DeviceName(0), kBuiltInSynthName);
}

TEST_F(OfflineRendererTest, HotPassageIsLimitedBelowFullScale) {
  OfflineRenderer renderer;
  ASSERT_TRUE(renderer.Begin(WavPath()));
  // This preset is hot: these notes at full velocity peak at several times full scale unlimited.
  for (int channel : {0, 1}) renderer.Send(kCalliopeProgram | channel);
  for (int key : {72, 84, 96}) renderer.Send(NoteOn(0, key, 127));
  RenderInTicks(renderer, 500);
  for (int key : {67, 79, 91}) renderer.Send(NoteOn(1, key, 127));
  RenderInTicks(renderer, 1500);
  ASSERT_TRUE(renderer.Finish());

  const test::WavSamples wav = test::ReadWav(WavPath());
  ASSERT_TRUE(wav.valid);
  EXPECT_LE(wav.Peak(0, 2000), kLimitedPeak);
  EXPECT_LT(wav.Peak(0, 2000), 32767) << "never full scale";
  // Held at the threshold, not turned down far below it.
  EXPECT_GE(wav.Peak(100, 500), kLimitedPeak - 1000);
  EXPECT_GE(wav.Peak(600, 2000), kLimitedPeak - 1000);
}

TEST(WavWriterTest, ConvertsWithOneUnitOfDitherAndClipsBeyondFullScale) {
  test::TempFolder folder;
  const std::string path = (folder.path / "written.wav").string();
  WavWriter writer;
  ASSERT_TRUE(writer.Open(path));
  const std::vector<float> half(1000, 0.5f);
  const std::vector<float> over(1000, -1.5f);
  ASSERT_TRUE(writer.Write(half.data(), over.data(), 1000));
  EXPECT_EQ(writer.Frames(), 1000);
  // Read while still open, as a file left by a program killed while it played into it.
  writer.UpdateHeader();
  EXPECT_EQ(test::ReadWav(path).Frames(), 1000u);
  ASSERT_TRUE(writer.Close());

  const test::WavSamples wav = test::ReadWav(path);
  ASSERT_TRUE(wav.valid);
  ASSERT_EQ(wav.Frames(), 1000u);
  bool dithered = false;
  for (size_t frame = 0; frame < wav.Frames(); ++frame) {
    EXPECT_NEAR(wav.samples[2 * frame], 16383, 1);
    dithered = dithered || wav.samples[2 * frame] != wav.samples[0];
    EXPECT_EQ(wav.samples[2 * frame + 1], -32768);
  }
  EXPECT_TRUE(dithered);
}

}  // namespace
}  // namespace sonvela
