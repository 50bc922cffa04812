// Messages placed in time: the frame clock, the queue, the synth at their frame and the port output.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "platform/frame_clock.h"
#include "platform/system_wall_clock.h"
#include "platform/timed_message_queue.h"
#include "platform/timed_port_output.h"
#include "platform/timed_synth.h"
#include "player/capture_midi_out.h"

namespace sonvela {
namespace {

constexpr double kFramesPerMs = kSynthSampleRate / 1000.0;

// An hour of 128-frame blocks from a card `ppm` off the system's clock, each begun up to 5 ms late, now and
// then 40: a due time's frame stays within 10 frames of the card's own from the first second on.
TEST(FrameClockTest, FollowsTheCardsClockOverAnHourWhateverItsDriftAndLateWakeUps) {
  for (const double ppm : {-100.0, 0.0, 100.0}) {
    SCOPED_TRACE(ppm);
    constexpr double kLatencyMs = 25, kStartMs = 123456.7;
    FrameClock clock(kSynthSampleRate, kLatencyMs);
    EXPECT_FALSE(clock.Known());
    std::mt19937 random(7);
    std::uniform_real_distribution<double> lateness(0, 5);
    const double cardFramesPerMs = kFramesPerMs * (1 + ppm * 1e-6);
    double worst = 0;
    for (int64_t frame = 0; frame < int64_t{3600} * kSynthSampleRate; frame += 128) {
      const double askedMs = kStartMs + static_cast<double>(frame) / cardFramesPerMs;
      const double late = (frame / 128) % 997 == 0 ? 40 : lateness(random);
      clock.BlockStarts(frame, askedMs + late);
      if (askedMs < kStartMs + 1000 || frame % (128 * 64) != 0) continue;
      const double cardFrame = static_cast<double>(frame) + kLatencyMs * cardFramesPerMs;
      worst = std::max(worst, std::abs(clock.FrameOf(askedMs) - cardFrame));
      EXPECT_NEAR(clock.DueMsOf(clock.FrameOf(askedMs)), askedMs, 1e-6);
    }
    EXPECT_TRUE(clock.Known());
    EXPECT_LE(worst, 10) << "frames";
  }
}

TEST(TimedMessageQueueTest, KeepsTheOrderOfTheSendsAndGrowsBeyondItsFirstRoom) {
  TimedMessageQueue queue;
  queue.Push(1, 50);
  queue.Push(2, 40);  // due before the one sent earlier: goes with it, after it
  EXPECT_FALSE(queue.PopDueBy(49.9));
  for (uint32_t word : {1, 2}) {
    const TimedMessage message = queue.PopDueBy(50).value();
    EXPECT_EQ(std::pair(message.word, message.dueMs), std::pair(word, 50.0));
  }
  // Grown while its first message is not at the start of its room.
  for (uint32_t word = 3; word < 10000; ++word) queue.Push(word, 100 + word);
  EXPECT_EQ(queue.Size(), 9997u);
  for (uint32_t word = 3; word < 10000; ++word) ASSERT_EQ(queue.Pop().value().word, word);
  EXPECT_FALSE(queue.Pop());
  // A consumer waiting for a message far off is woken by a stop.
  std::atomic<bool> stop = false;
  queue.Push(1, SteadyNowMs() + 60000);
  std::thread consumer([&] { EXPECT_FALSE(queue.WaitUntilDue(0, stop)); });
  stop = true;
  queue.Wake();
  consumer.join();
}

// The frames where a block's rendering was split: where messages went in. `nowMs`: when a real-time stream
// begins the block; none for one rendered ahead of time.
struct Splits {
  std::vector<int64_t> frames;
  int64_t frame = 0;
  void Render(TimedSynth& synth, int count, std::optional<double> nowMs = std::nullopt) {
    const auto split = [&, start = frame](int at, int) {
      if (at > 0) frames.push_back(start + at);
    };
    synth.Render(nowMs.value_or(0), count, split, nowMs.has_value());
    frame += count;
  }
};

TEST(TimedSynthTest, PlaysEachMessageAtTheFrameOfItsDueTimeAndCountsTheLateOnes) {
  SynthEngine engine({});
  // Rendered ahead of time, frame 0 being the moment 1000 ms.
  TimedSynth synth(engine, FrameClock::Fixed(kSynthSampleRate, 1000));
  Splits splits;
  synth.SendAt(0x903C64, 1010);    // frame 441
  synth.SendAt(0x803C00, 1010);    // the same frame: one split
  synth.SendAt(0x903E64, 1020.5);  // frame 904.05 -> 904
  for (int block = 0; block < 8; ++block) splits.Render(synth, 128);
  EXPECT_EQ(splits.frames, (std::vector<int64_t>{441, 904}));
  EXPECT_EQ(synth.LateMessages(), 0);
  EXPECT_EQ(synth.Pending(), 0u);

  // Due within the synth's block before the frame rendered next: on time; longer ago: late, at once.
  synth.SendAt(0x903C64, 1000 + 100 / kFramesPerMs);
  synth.SendAt(0x903C64, 1000 + (1024 - 60) / kFramesPerMs);
  splits.frames.clear();
  splits.Render(synth, 128);
  EXPECT_TRUE(splits.frames.empty());
  EXPECT_EQ(synth.LateMessages(), 1);
}

TEST(TimedSynthTest, AnAudioFileWaitsForTheSongOnlyWhileItsClockMoves) {
  SynthEngine engine({});
  TimedSynth synth(engine, kOutputLatencyMs);
  Splits splits;
  const double startMs = 5000;
  splits.Render(synth, 128, startMs);  // the clock is learnt: frame 0 plays what is due at 4975 ms
  // No song has been sent yet: nothing to wait for.
  EXPECT_FALSE(synth.WaitsForSong(startMs + 3, 128));
  // The song's sender got to 4976 ms at 5001 ms; the next block ends at about 4980.8 ms of due time.
  synth.SongSentUpTo(startMs - 24, startMs + 1);
  EXPECT_TRUE(synth.WaitsForSong(startMs + 3, 128));
  synth.SongSentUpTo(startMs - 19, startMs + 5);
  EXPECT_FALSE(synth.WaitsForSong(startMs + 6, 128));
  // A song whose clock stands still (stopped, paused) holds nothing back.
  EXPECT_TRUE(synth.WaitsForSong(startMs + 6, 1280));
  EXPECT_FALSE(synth.WaitsForSong(startMs + 5 + kSongStoppedMs + 1, 1280));
}

TEST(TimedPortOutputTest, SendsTheSongAtItsTimePlusTheLatencyInOrderAndLiveMessagesAtOnce) {
  CaptureMidiOut capture(SteadyNowMs);
  const std::unique_ptr<TimedPortOutput> output = TimedCapture(capture, {});
  output->SendAt(0xB07B00, SteadyNowMs());  // before the recording: not recorded
  capture.StartRecording();
  const double sentMs = SteadyNowMs();
  output->SendAt(0x903C64, sentMs);
  output->SendAt(0x803C00, sentMs - 5);  // due before: after it all the same
  output->Send(0x904064);                // live: at once, ahead of the song
  output->SendAt(0x903E64, sentMs + 10);
  output->Drain();
  const std::vector<SentMessage> sent = capture.Messages();
  std::vector<uint32_t> words;
  for (const SentMessage& message : sent) words.push_back(message.word);
  ASSERT_EQ(words, (std::vector<uint32_t>{0x904064, 0x903C64, 0x803C00, 0x903E64}));
  // Never before its time (how much after is the benchmark's measure): the recording began before `sentMs`.
  EXPECT_GE(sent[1].timeMs, kOutputLatencyMs);
  EXPECT_GE(sent[3].timeMs, 10 + kOutputLatencyMs);
}

}  // namespace
}  // namespace sonvela
