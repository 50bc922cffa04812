#include "platform/built_in_synth.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

#include "platform/peak_limiter.h"
#include "wav_samples.h"

namespace sonvela {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> LinesContaining(const std::vector<std::string>& lines, const std::string& text) {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) found.push_back(line);
  }
  return found;
}

// Waits until the real-time audio file holds `ms` of sound (or 10 s passed): a fixed sleep is not enough on
// a busy machine, where the writer may not have run yet.
void WaitForAudio(const std::string& path, int ms) {
  constexpr std::uintmax_t kBytesPerMs = 44100 * 4 / 1000;
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  std::error_code error;
  while (std::chrono::steady_clock::now() < deadline &&
         std::filesystem::file_size(path, error) < 44 + kBytesPerMs * static_cast<std::uintmax_t>(ms)) {
    std::this_thread::sleep_for(20ms);
  }
}

TEST(BuiltInSynthTest, WithoutAudioOutputSaysOnceThatThereIsNoSound) {
  std::vector<std::string> log;
  SynthOptions options;
  options.audioDrivers = {"no-such-driver", "another-missing-one"};
  {
    BuiltInSynth synth(options, SerializedLog([&log](const std::string& line) { log.push_back(line); }));
    EXPECT_TRUE(synth.WaitUntilLoaded());
    EXPECT_EQ(synth.AudioDriver(), "");
    // Still a working synth: every message is accepted.
    synth.Send(0x90 | (60 << 8) | (100 << 16));
    synth.Send(0xB0 | (7 << 8) | (90 << 16));
    synth.ReleaseAllNotes();
  }
  const std::vector<std::string> noSound = LinesContaining(log, "no sound");
  ASSERT_EQ(noSound.size(), 1u);
  EXPECT_NE(noSound[0].find("no-such-driver"), std::string::npos);
  EXPECT_NE(noSound[0].find("another-missing-one"), std::string::npos);
  EXPECT_EQ(LinesContaining(log, "loaded in").size(), 1u);
}

TEST(BuiltInSynthTest, PlaysInRealTimeIntoAnAudioFile) {
  const std::string path = (std::filesystem::path(testing::TempDir()) / "synth_audio_file.wav").string();
  std::filesystem::remove(path);
  std::vector<std::string> log;
  SynthOptions options;
  options.audioFile = path;
  const auto start = std::chrono::steady_clock::now();
  {
    BuiltInSynth synth(options, SerializedLog([&log](const std::string& line) { log.push_back(line); }));
    EXPECT_EQ(synth.AudioDriver(), "file");
    // Sent while the SoundFont may still be loading: must be harmless.
    synth.Send(0xC0 | (19 << 8));
    synth.Send(0x90 | (64 << 8) | (100 << 16));
    synth.Send(0x80 | (64 << 8));
    ASSERT_TRUE(synth.WaitUntilLoaded());
    synth.Send(0x90 | (60 << 8) | (100 << 16));
    WaitForAudio(path, 400);
  }
  const double elapsedMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const test::WavSamples wav = test::ReadWav(path);
  ASSERT_TRUE(wav.valid);
  const double lengthMs = 1000.0 * wav.Frames() / wav.sampleRate;
  // Real time: about as long as the synth lived, not rendered ahead.
  EXPECT_GE(lengthMs, 200);
  EXPECT_LE(lengthMs, elapsedMs + 200);
  EXPECT_GE(wav.Peak(0, lengthMs), 1000);
}

TEST(BuiltInSynthTest, TheAudioFileIsLimitedBelowFullScale) {
  const std::string path = (std::filesystem::path(testing::TempDir()) / "synth_hot_audio_file.wav").string();
  std::filesystem::remove(path);
  SynthOptions options;
  options.audioFile = path;
  {
    BuiltInSynth synth(options, {});
    ASSERT_TRUE(synth.WaitUntilLoaded());
    // A hot preset: these notes at full velocity peak at several times full scale unlimited.
    synth.Send(0xC0 | (82 << 8));
    for (int key : {72, 84, 96}) synth.Send(0x90 | (key << 8) | (127 << 16));
    WaitForAudio(path, 400);
  }
  const test::WavSamples wav = test::ReadWav(path);
  ASSERT_TRUE(wav.valid);
  const double lengthMs = 1000.0 * wav.Frames() / wav.sampleRate;
  // The threshold in 16-bit units, plus one of dither; and loud, not turned down far below it.
  const int limitedPeak = static_cast<int>(std::ceil(kLimiterThreshold * 32766)) + 1;
  EXPECT_LE(wav.Peak(0, lengthMs), limitedPeak);
  EXPECT_GE(wav.Peak(0, lengthMs), limitedPeak - 1000);
}

}  // namespace
}  // namespace sonvela
