// The sound the platform writes: rendered offline, played in real time into a file, and the WAV writer.
#include "platform/offline_renderer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <set>
#include <thread>
#include <tuple>

#include "platform/built_in_synth.h"
#include "platform/midi_out_codes.h"
#include "platform/peak_limiter.h"
#include "platform/wav_writer.h"
#include "temp_folder.h"
#include "wav_samples.h"

namespace sonvela {
namespace {

using namespace std::chrono_literals;
using Ms = std::chrono::duration<double, std::milli>;

constexpr uint32_t kMiddleCOn = 0x90 | (60 << 8) | (100 << 16);
constexpr int kSilence = 2, kAudible = 1000;  // the silence: the dither of the 16-bit conversion
// The limiter's threshold in 16-bit units, plus the dither's one unit.
const int kLimitedPeak = static_cast<int>(std::ceil(kLimiterThreshold * 32766)) + 1;
// A hot preset: notes at full velocity peak at several times full scale unlimited.
constexpr uint32_t kCalliope = 0xC0 | (82 << 8);
const auto NoteOn = [](uint32_t channel, uint32_t key) { return 0x7F0090 | channel | key << 8; };
std::vector<std::string> Mentioning(std::vector<std::string> lines, const std::string& text) {
  std::erase_if(lines, [&](const std::string& line) { return line.find(text) == std::string::npos; });
  return lines;
}

class OfflineRendererTest : public testing::Test {
 protected:
  std::string WavPath() const { return (folder_.path / "rendered.wav").string(); }
  // `ms` in the 10 ms steps the CLI uses.
  static void Render(OfflineRenderer& renderer, int ms) {
    for (int i = 0; i < ms / 10; ++i) ASSERT_TRUE(renderer.Render(10));
  }
  test::TempFolder folder_;
};

TEST_F(OfflineRendererTest, WritesExactLengthLimitedBelowFullScaleUpToItsLimitAndReportsAnUnwritableFile) {
  OfflineRenderer renderer;
  ASSERT_TRUE(renderer.Begin(WavPath()));
  for (uint32_t channel : {0, 1}) renderer.Send(kCalliope | channel);
  for (uint32_t key : {72, 84, 96}) renderer.Send(NoteOn(0, key));
  Render(renderer, 500);
  for (uint32_t key : {67, 79, 91}) renderer.Send(NoteOn(1, key));
  Render(renderer, 2000);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(renderer.Render(1.1));
  ASSERT_TRUE(renderer.Finish());
  const int64_t frames = std::llrint(2503.3 * 44.1);  // fractions add up instead of rounding per call
  EXPECT_EQ(renderer.FramesWritten(), frames);
  const test::WavSamples wav = test::ReadWav(WavPath());
  EXPECT_TRUE(wav.valid && wav.channels == 2 && wav.sampleRate == 44100);
  EXPECT_EQ(wav.riffSize, frames * 4 + 36);
  EXPECT_EQ(wav.fileSize, 44 + wav.dataSize);
  EXPECT_LE(wav.Peak(0, 2500), kLimitedPeak);
  EXPECT_GE(wav.Peak(100, 500), kLimitedPeak - 1000) << "held at the threshold, not far below it";
  EXPECT_GE(wav.Peak(600, 2500), kLimitedPeak - 1000);

  OfflineRenderer limited({}, {}, 44100);
  ASSERT_TRUE(limited.Begin(WavPath()));
  EXPECT_TRUE(limited.Render(3000) && limited.Full());
  EXPECT_EQ(limited.FramesWritten(), 44100);
  ASSERT_TRUE(limited.Finish());
  EXPECT_EQ(test::ReadWav(WavPath()).Frames(), 44100u);

  std::vector<std::string> log;
  OfflineRenderer unwritable({}, [&log](const std::string& line) { log.push_back(line); });
  EXPECT_FALSE(unwritable.Begin("/nonexistent-folder/out.wav"));
  EXPECT_EQ(Mentioning(log, "/nonexistent-folder/out.wav").size(), 1u);
  EXPECT_FALSE(unwritable.Finish());
}

TEST_F(OfflineRendererTest, SoundsOnlyWhileANoteIsHeldAndClosingReleasesNotesAndDropsLaterMessages) {
  constexpr uint32_t kClose = 0;
  // What is sent, how long is rendered after it, and whether the last 400 ms of that sound.
  const std::vector<std::tuple<uint32_t, int, bool>> steps = {
      {0xC0 | (19 << 8), 500, false},  // an organ: sounds as long as it is held
      {kMiddleCOn, 1000, true},       {0x90 | (60 << 8), 3000, false},  // velocity 0 ends the note
      {kMiddleCOn, 500, true},        {kClose, 2000, false},            // releases the note
      {kMiddleCOn, 1000, false},                                        // dropped once closed
  };
  OfflineRenderer renderer;
  ASSERT_TRUE(renderer.Begin(WavPath()));
  EXPECT_EQ(renderer.OpenDeviceId(), 0);
  for (const auto& [send, ms, sounds] : steps) {
    if (send != kClose)
      renderer.Send(send);
    else
      EXPECT_EQ(renderer.Close(), kMidiOutOk);
    Render(renderer, ms);
  }
  ASSERT_TRUE(renderer.Finish());
  const test::WavSamples wav = test::ReadWav(WavPath());
  int endMs = 0;
  for (const auto& [send, ms, sounds] : steps) {
    endMs += ms;
    const int peak = wav.Peak(endMs - 400, endMs);
    EXPECT_TRUE(sounds ? peak >= kAudible : peak <= kSilence) << "before " << endMs << " ms: " << peak;
  }
  EXPECT_EQ(renderer.OpenDeviceId(), -1);
  EXPECT_EQ(renderer.Close(), kMidiOutNotOpen);
  EXPECT_EQ(renderer.Open(1), kMidiOutBadDevice);
  EXPECT_EQ(renderer.Open(kDefaultMidiOut), kMidiOutOk);
  EXPECT_EQ(renderer.OpenDeviceId(), 0);
}

TEST(WavWriterTest, ConvertsWithOneUnitOfDitherAndClipsBeyondFullScale) {
  test::TempFolder folder;
  const std::string path = (folder.path / "written.wav").string();
  WavWriter writer;
  ASSERT_TRUE(writer.Open(path));
  const std::vector<float> half(1000, 0.5f), over(1000, -1.5f);
  ASSERT_TRUE(writer.Write(half.data(), over.data(), 1000));
  writer.UpdateHeader();  // read while open, as a file left by a program killed while it played
  EXPECT_EQ(test::ReadWav(path).Frames(), 1000u);
  ASSERT_TRUE(writer.Close());
  const test::WavSamples wav = test::ReadWav(path);
  ASSERT_EQ(wav.Frames(), 1000u);
  std::set<int16_t> left, right;
  for (size_t i = 0; i < wav.samples.size(); ++i) (i % 2 ? right : left).insert(wav.samples[i]);
  EXPECT_EQ(right, std::set<int16_t>{-32768});
  EXPECT_TRUE(left.size() > 1 && *left.begin() >= 16382 && *left.rbegin() <= 16384) << "dithered 16383";
}

TEST(BuiltInSynthTest, WithoutAudioOutputSaysOnceThatThereIsNoSound) {
  std::vector<std::string> log;
  SynthOptions options;
  options.audioDrivers = {"no-such-driver", "another-missing-one"};
  {
    BuiltInSynth synth(options, SerializedLog([&log](const std::string& line) { log.push_back(line); }));
    EXPECT_TRUE(synth.WaitUntilLoaded());
    EXPECT_EQ(synth.AudioDriver(), "");
    synth.Send(kMiddleCOn);  // still a working synth
    synth.ReleaseAllNotes();
  }
  EXPECT_EQ(Mentioning(log, "loaded in").size(), 1u);
  const std::vector<std::string> noSound = Mentioning(log, "no sound");
  ASSERT_EQ(noSound.size(), 1u);
  for (const char* driver : {"no-such-driver", "another-missing-one"})
    EXPECT_EQ(Mentioning(noSound, driver).size(), 1u);
}

TEST(BuiltInSynthTest, PlaysInRealTimeIntoAnAudioFileLimitedBelowFullScale) {
  test::TempFolder folder;
  SynthOptions options;
  options.audioFile = (folder.path / "played.wav").string();
  // The sound in the file, in ms; what the synth renders from now on lands past it.
  const auto audioMs = [&] {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(options.audioFile, error);
    return error || bytes < 44 ? 0.0 : static_cast<double>(bytes - 44) / (44100 * 4 / 1000.0);
  };
  double notesMs = 0;
  const auto start = std::chrono::steady_clock::now();
  {
    BuiltInSynth synth(options, {});
    EXPECT_EQ(synth.AudioDriver(), "file");
    synth.Send(0xC0 | (19 << 8));  // while the SoundFont may still be loading: harmless
    synth.Send(kMiddleCOn);
    synth.Send(0x80 | (60 << 8));
    ASSERT_TRUE(synth.WaitUntilLoaded());
    synth.Send(kCalliope);
    for (int key : {72, 84, 96}) synth.Send(NoteOn(0, key));
    notesMs = audioMs();
    // However slowly the machine goes; the bound is reached only when the writer is stuck.
    while (audioMs() < notesMs + 400 && std::chrono::steady_clock::now() < start + 20s)
      std::this_thread::sleep_for(10ms);
  }
  const double elapsedMs = Ms(std::chrono::steady_clock::now() - start).count();
  const test::WavSamples wav = test::ReadWav(options.audioFile);
  const double lengthMs = 1000.0 * wav.Frames() / wav.sampleRate;
  EXPECT_GE(lengthMs, notesMs + 400);
  EXPECT_LE(lengthMs, elapsedMs + 200) << "real time, not rendered ahead";
  EXPECT_LE(wav.Peak(0, lengthMs), kLimitedPeak);
  EXPECT_GE(wav.Peak(notesMs, lengthMs), kLimitedPeak - 1000);
}

}  // namespace
}  // namespace sonvela
