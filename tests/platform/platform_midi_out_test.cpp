// The ports of the machine as the program uses them, and the input's calls queued to the UI thread.
#include "platform/platform_midi_out.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/midi_out_codes.h"
#include "platform/platform_midi_in.h"
#include "platform/queued_midi_in_shower.h"

namespace sonvela {
namespace {

bool Mentions(const std::vector<std::string>& lines, const std::string& text) {
  return std::ranges::any_of(lines,
                             [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

// Without sequencer, JACK server or sound card the libraries' complaints stay in the debug log.
TEST(PlatformMidiTest, ListsTheSynthFirstWithoutStartingItOrTalkingOnTheTerminal) {
  SynthOptions options;
  options.audioDrivers = {"pulseaudio", "alsa", "jack"};
  std::vector<std::string> log;
  const auto logTo = [&log](const std::string& line) { log.push_back(line); };
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  {
    PlatformMidiOut out(options, logTo);
    ASSERT_GE(out.DeviceCount(), 1);
    EXPECT_EQ(out.DeviceName(0), kBuiltInSynthName);
    for (int device = 1; device < out.DeviceCount(); ++device) EXPECT_NE(out.DeviceName(device), "");
    EXPECT_EQ(out.DeviceName(out.DeviceCount()), "");
    EXPECT_EQ(out.OpenDeviceId(), -1);
    EXPECT_FALSE(Mentions(log, "Built-in synth")) << "the synth started before it was opened";
    EXPECT_EQ(out.Open(kDefaultMidiOut), kMidiOutOk);
    EXPECT_EQ(out.OpenDeviceId(), 0);
    EXPECT_TRUE(out.Synth().WaitUntilLoaded());
    EXPECT_TRUE(Mentions(log, "loaded in"));
    out.DeviceCount();
    // Without a port system the input has nothing to open, and says why in the log.
    PlatformMidiIn in(logTo);
    if (in.PortSystem().empty()) {
      EXPECT_EQ(in.DeviceCount(), 0);
      EXPECT_EQ(in.DeviceName(0), "");
      bool called = false;
      EXPECT_EQ(in.Open(0, [&called](const MidiInMessage&) { called = true; }), kMidiInNoDriver);
      EXPECT_FALSE(called);
      for (int code : {in.Start(), in.Stop(), in.Close()}) EXPECT_EQ(code, kMidiInNotOpen);
      EXPECT_TRUE(Mentions(log, "MIDI in"));
    }
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(), "");
}

TEST(PlatformMidiOutTest, OpensClosesAndTakesSendsFromTwoThreadsWhileTheOutputIsSwitched) {
  SynthOptions silent;
  silent.audioDrivers = {"none"};
  PlatformMidiOut out(silent, {});
  EXPECT_EQ(out.Close(), kMidiOutNotOpen);
  EXPECT_EQ(out.Open(0), kMidiOutOk);
  EXPECT_NE(out.Open(out.DeviceCount()), kMidiOutOk);
  EXPECT_EQ(out.OpenDeviceId(), -1) << "a failed open still closes what was open";
  EXPECT_NE(out.Open(-2), kMidiOutOk);
  EXPECT_NE(out.ErrorText(kMidiOutNotOpen), out.ErrorText(kMidiOutBadDevice));
  std::atomic<bool> stop = false;
  std::atomic<int> rounds = 0;
  auto sender = [&out, &stop, &rounds](uint32_t channel) {  // like the MIDI input's thru and the sequencer
    for (uint32_t i = 0; !stop; ++i, ++rounds) {
      const uint32_t key = 36 + i % 48, value = i % 128;
      for (uint32_t word :
           {0x640090 | key << 8, 0x07B0 | value << 16, 0x4000E0 | value << 8, 0x80 | key << 8})
        out.Send(word | channel);
    }
  };
  std::jthread input(sender, 0), ui(sender, 9);
  for (int i = 0; i < 200; ++i) {
    EXPECT_TRUE(out.Open(kDefaultMidiOut) == kMidiOutOk && out.OpenDeviceId() == 0) << i;
    std::this_thread::yield();
    EXPECT_TRUE(out.Close() == kMidiOutOk && out.OpenDeviceId() == -1) << i;
  }
  EXPECT_EQ(out.Open(kDefaultMidiOut), kMidiOutOk);
  const int target = rounds + 1000;  // both go on sending into the open synth
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (rounds < target && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  stop = true;
  EXPECT_EQ(out.OpenDeviceId(), 0);
  EXPECT_GE(rounds, target) << "the senders stalled";
}

// The window's side: each call, marked when it came on another thread than the UI's.
struct UiShower : MidiInShower {
  void PaintInputKey(int key, int64_t colour) override {
    Add("key " + std::to_string(key) + " " + std::to_string(colour));
  }
  void ShowInputProgram(int program) override { Add("program " + std::to_string(program)); }
  void ShowMonitorLine(std::string line) override { Add(std::move(line)); }
  void Add(std::string call) {
    calls.push_back(std::this_thread::get_id() == uiThread ? call : "off: " + call);
  }
  std::vector<std::string> calls;
  const std::thread::id uiThread = std::this_thread::get_id();
};

TEST(QueuedMidiInShowerTest, CallsFromTheInputThreadReachTheUiThreadInOrderAndDieWithIt) {
  const auto play = [](MidiInShower& shower) {
    for (int note = 0; note < 300; ++note) {
      shower.PaintInputKey(note % 128 + 1, kMidiInKeyColour);
      shower.ShowInputProgram(note % 128);
      shower.ShowMonitorLine("line " + std::to_string(note));
    }
  };
  UiShower direct, ui;
  play(direct);
  QueuedMidiInShower queued(ui);
  std::thread input([&] { play(queued); });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (ui.calls.size() < direct.calls.size() && std::chrono::steady_clock::now() < deadline)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
  input.join();
  EXPECT_EQ(ui.calls, direct.calls);
  auto gone = std::make_unique<QueuedMidiInShower>(ui);  // calls still queued when it goes are dropped
  gone->PaintInputKey(61, kRestoreKey);
  gone->ShowMonitorLine("close");
  gone.reset();
  QCoreApplication::processEvents();
  EXPECT_EQ(ui.calls.size(), direct.calls.size());
}

}  // namespace
}  // namespace sonvela
