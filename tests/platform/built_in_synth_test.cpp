#include "platform/built_in_synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>

#include "platform/peak_limiter.h"
#include "temp_folder.h"
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

constexpr std::uintmax_t kWavHeaderBytes = 44;
constexpr double kBytesPerMs = 44100 * 4 / 1000.0;

std::uintmax_t FileBytes(const std::string& path) {
  std::error_code error;
  const std::uintmax_t bytes = std::filesystem::file_size(path, error);
  return error ? 0 : bytes;
}

// How much sound the real-time audio file holds now, in ms. Whatever the synth renders from now on lands
// past this point (the writer's buffer may hold a few ms more, so it may land a little later).
double AudioMsNow(const std::string& path) {
  return static_cast<double>(std::max(FileBytes(path), kWavHeaderBytes) - kWavHeaderBytes) / kBytesPerMs;
}

// Waits until the real-time audio file holds `ms` of sound past `fromMs`, however slowly the SoundFont
// loaded and however busy the machine is. The bound is reached only when the writer is stuck.
void WaitForAudioPast(const std::string& path, double fromMs, int ms) {
  const auto target = kWavHeaderBytes + static_cast<std::uintmax_t>((fromMs + ms) * kBytesPerMs);
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (FileBytes(path) < target && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
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

TEST(BuiltInSynthTest, PlaysInRealTimeIntoAnAudioFileLimitedBelowFullScale) {
  test::TempFolder folder;
  const std::string path = (folder.path / "played.wav").string();
  SynthOptions options;
  options.audioFile = path;
  double notesMs = 0;
  const auto start = std::chrono::steady_clock::now();
  {
    BuiltInSynth synth(options, {});
    EXPECT_EQ(synth.AudioDriver(), "file");
    // Sent while the SoundFont may still be loading: must be harmless.
    synth.Send(0xC0 | (19 << 8));
    synth.Send(0x90 | (64 << 8) | (100 << 16));
    synth.Send(0x80 | (64 << 8));
    ASSERT_TRUE(synth.WaitUntilLoaded());
    // A hot preset: these notes at full velocity peak at several times full scale unlimited.
    synth.Send(0xC0 | (82 << 8));
    for (int key : {72, 84, 96}) synth.Send(0x90 | (key << 8) | (127 << 16));
    notesMs = AudioMsNow(path);
    WaitForAudioPast(path, notesMs, 400);
  }
  const double elapsedMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const test::WavSamples wav = test::ReadWav(path);
  ASSERT_TRUE(wav.valid);
  const double lengthMs = 1000.0 * wav.Frames() / wav.sampleRate;
  EXPECT_GE(lengthMs, notesMs + 400);
  // Real time: about as long as the synth lived, not rendered ahead.
  EXPECT_LE(lengthMs, elapsedMs + 200);
  // The threshold in 16-bit units, plus one of dither; the notes sent after loading sound loud, held at the
  // threshold rather than turned down far below it.
  const int limitedPeak = static_cast<int>(std::ceil(kLimiterThreshold * 32766)) + 1;
  EXPECT_LE(wav.Peak(0, lengthMs), limitedPeak);
  EXPECT_GE(wav.Peak(notesMs, lengthMs), limitedPeak - 1000);
}

}  // namespace
}  // namespace sonvela
