#include "platform/platform_midi_in.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/queued_midi_in_shower.h"

namespace sonvela {
namespace {

TEST(PlatformMidiInTest, WithoutAPortSystemThereIsNothingToOpenAndNothingOnTheTerminal) {
  std::vector<std::string> log;
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  {
    PlatformMidiIn in([&log](const std::string& line) { log.push_back(line); });
    if (!in.PortSystem().empty()) {
      testing::internal::GetCapturedStdout();
      testing::internal::GetCapturedStderr();
      GTEST_SKIP() << "this machine has " << in.PortSystem() << " MIDI ports";
    }
    EXPECT_EQ(in.DeviceCount(), 0);
    EXPECT_EQ(in.DeviceName(0), "");
    bool called = false;
    EXPECT_EQ(in.Open(0, [&called](const MidiInMessage&) { called = true; }), kMidiInNoDriver);
    EXPECT_FALSE(called);
    EXPECT_EQ(in.Start(), kMidiInNotOpen);
    EXPECT_EQ(in.Stop(), kMidiInNotOpen);
    EXPECT_EQ(in.Close(), kMidiInNotOpen);
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(), "");
  EXPECT_FALSE(log.empty());
}

// The window's side: records each call with the thread it came on.
struct UiShower : MidiInShower {
  void PaintInputKey(int key, int64_t colour) override {
    Add("key " + std::to_string(key) + " " + std::to_string(colour));
  }
  void ShowInputProgram(int program) override { Add("program " + std::to_string(program)); }
  void ShowMonitorLine(std::string line) override { Add(std::move(line)); }
  void Add(std::string call) {
    calls.push_back(std::move(call));
    threads.push_back(std::this_thread::get_id());
  }
  std::vector<std::string> calls;
  std::vector<std::thread::id> threads;
};

TEST(QueuedMidiInShowerTest, CallsFromTheInputThreadReachTheUiThreadInOrderAndDieWithIt) {
  UiShower ui;
  QueuedMidiInShower queued(ui);
  constexpr int kNotes = 300;
  std::thread input([&queued] {
    for (int note = 0; note < kNotes; ++note) {
      queued.PaintInputKey(note % 128 + 1, kMidiInKeyColour);
      queued.ShowInputProgram(note % 128);
      queued.ShowMonitorLine("line " + std::to_string(note));
    }
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (ui.calls.size() < 3 * kNotes && std::chrono::steady_clock::now() < deadline) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
  }
  input.join();
  ASSERT_EQ(ui.calls.size(), 3u * kNotes);
  for (int note = 0; note < kNotes; ++note) {
    const auto at = static_cast<size_t>(3 * note);
    EXPECT_EQ(ui.calls[at], "key " + std::to_string(note % 128 + 1) + " " + std::to_string(kMidiInKeyColour));
    EXPECT_EQ(ui.calls[at + 1], "program " + std::to_string(note % 128));
    EXPECT_EQ(ui.calls[at + 2], "line " + std::to_string(note));
  }
  for (std::thread::id thread : ui.threads) ASSERT_EQ(thread, std::this_thread::get_id());

  // Calls still queued when the shower goes are dropped.
  auto gone = std::make_unique<QueuedMidiInShower>(ui);
  gone->PaintInputKey(61, kRestoreKey);
  gone->ShowMonitorLine("close");
  gone.reset();
  QCoreApplication::processEvents();
  EXPECT_EQ(ui.calls.size(), 3u * kNotes);
}

}  // namespace
}  // namespace sonvela
