#include "platform/platform_midi_out.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/midi_out_codes.h"

namespace sonvela {
namespace {

bool Mentions(const std::vector<std::string>& lines, const std::string& text) {
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

TEST(PlatformMidiOutTest, ListsTheSynthFirstWithoutStartingItOrTalkingOnTheTerminal) {
  // The system's own drivers, as the program uses them; on a machine without sequencer, JACK server or
  // sound card the libraries' complaints must all stay in the debug log.
  SynthOptions options;
  options.audioDrivers = {"pulseaudio", "alsa", "jack"};
  std::vector<std::string> log;
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  {
    PlatformMidiOut out(options, [&log](const std::string& line) { log.push_back(line); });
    ASSERT_GE(out.DeviceCount(), 1);
    EXPECT_EQ(out.DeviceName(0), kBuiltInSynthName);
    for (int device = 1; device < out.DeviceCount(); ++device) EXPECT_NE(out.DeviceName(device), "");
    EXPECT_EQ(out.DeviceName(out.DeviceCount()), "");
    EXPECT_EQ(out.OpenDeviceId(), -1);
    // Listing must not load the SoundFont: the synth starts with the first open of its entry.
    EXPECT_FALSE(Mentions(log, "Built-in synth")) << "the synth started before it was opened";
    EXPECT_EQ(out.Open(kDefaultMidiOut), kMidiOutOk);
    EXPECT_EQ(out.OpenDeviceId(), 0);
    EXPECT_TRUE(out.Synth().WaitUntilLoaded());
    EXPECT_TRUE(Mentions(log, "loaded in"));
    out.DeviceCount();
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(), "");
}

TEST(PlatformMidiOutTest, OpensClosesAndTakesSendsFromTwoThreadsWhileTheOutputIsSwitched) {
  SynthOptions silent;
  silent.audioDrivers = {"none"};
  PlatformMidiOut out(silent, {});
  EXPECT_EQ(out.Close(), kMidiOutNotOpen);
  EXPECT_EQ(out.Open(0), kMidiOutOk);
  // A failed open still closes what was open first.
  EXPECT_NE(out.Open(out.DeviceCount()), kMidiOutOk);
  EXPECT_EQ(out.OpenDeviceId(), -1);
  EXPECT_NE(out.Open(-2), kMidiOutOk);
  EXPECT_NE(out.ErrorText(kMidiOutNotOpen), out.ErrorText(kMidiOutBadDevice));

  std::atomic<bool> stop = false;
  std::atomic<int> rounds = 0;
  auto sender = [&out, &stop, &rounds](int channel) {
    for (uint32_t i = 0; !stop; ++i, ++rounds) {
      const uint32_t key = 36 + i % 48;
      out.Send(0x90 | channel | (key << 8) | (100 << 16));
      out.Send(0xB0 | channel | (7 << 8) | ((i % 128) << 16));
      out.Send(0xE0 | channel | ((i % 128) << 8) | (64 << 16));
      out.Send(0x80 | channel | (key << 8));
    }
  };
  // One thread like the MIDI input's thru, one like the sequencer on the UI thread.
  std::thread input(sender, 0);
  std::thread ui(sender, 9);
  for (int i = 0; i < 200; ++i) {
    EXPECT_EQ(out.Open(kDefaultMidiOut), kMidiOutOk);
    EXPECT_EQ(out.OpenDeviceId(), 0);
    std::this_thread::yield();
    EXPECT_EQ(out.Close(), kMidiOutOk);
    EXPECT_EQ(out.OpenDeviceId(), -1);
  }
  EXPECT_EQ(out.Open(kDefaultMidiOut), kMidiOutOk);
  // Both threads go on sending into the open synth for a while, however busy the machine.
  const int target = rounds + 1000;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (rounds < target && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  stop = true;
  input.join();
  ui.join();
  EXPECT_EQ(out.OpenDeviceId(), 0);
  EXPECT_GE(rounds, target) << "the senders stalled";
}

}  // namespace
}  // namespace sonvela
