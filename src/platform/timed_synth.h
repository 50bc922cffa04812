#pragma once
// Places the song's messages on the synth's own sample clock: each is played at the frame of its due time
// (plus the output latency), whenever the sender got to it. The thread that renders the synth's audio calls
// Render for every block; any thread may send.

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>

#include "platform/frame_clock.h"
#include "platform/synth_engine.h"
#include "platform/timed_message_queue.h"

namespace sonvela {

// The fixed delay between a tick's ideal time and its sound, for every output that places messages in time.
// The UI thread reaches a tick a little late now and then (a repaint, a busy machine): a message is still
// played on time if it arrives within this delay less one audio block (64 to 128 frames, 1.5 to 2.9 ms).
// 25 ms covers the UI thread's lateness on a loaded machine with the Keyboard window shown, and stays well
// under what a listener notices between a key press on screen and the sound.
constexpr double kOutputLatencyMs = 25;
// FluidSynth renders in blocks of this many frames: a message takes effect at the start of the next one.
constexpr int64_t kSynthBlockFrames = 64;

// A song whose clock has not moved for this long has stopped: an audio file no longer waits for it. Longer
// than the machine stalls a process (seen: 100 ms on a loaded virtual machine).
constexpr double kSongStoppedMs = 500;

class TimedSynth {
 public:
  // A synth that plays in real time: its audio thread calls Render as it renders each block.
  TimedSynth(SynthEngine& engine, double latencyMs) : engine_(engine), clock_(kSynthSampleRate, latencyMs) {}
  // A synth rendered ahead of time, frame 0 being the moment `originMs`.
  TimedSynth(SynthEngine& engine, FrameClock clock) : engine_(engine), clock_(clock) {}

  // Any thread.
  void SendAt(uint32_t word, double dueMs) { queue_.Push(word, dueMs); }
  // Plays every queued message at once, in order, before the output closes; all but the note-ons, which would
  // only sound for the moment before the notes are released.
  void PlayPendingNow() {
    while (const auto message = queue_.Pop()) {
      if (!IsNoteOn(message->word)) engine_.Send(message->word);
    }
  }
  // The sender, after each tick of the song: every message due by `dueMs` has been sent (at `nowMs`).
  void SongSentUpTo(double dueMs, double nowMs) {
    sentUpToMs_.store(dueMs, std::memory_order_relaxed);
    sentAtMs_.store(nowMs, std::memory_order_release);
  }
  // The rendering thread of an output with no sound card to keep up with (an audio file): whether the next
  // `frames` frames must wait for the song's messages, which the sender has not reached yet (the machine
  // stalled it). Only while the song's clock moves: one still for kSongStoppedMs has stopped or paused.
  bool WaitsForSong(double nowMs, int frames) const {
    if (!clock_.Known() || nowMs - sentAtMs_.load(std::memory_order_acquire) > kSongStoppedMs) return false;
    return clock_.DueMsOf(static_cast<double>(frame_ + frames)) > sentUpToMs_.load(std::memory_order_relaxed);
  }
  // Messages that arrived after their frame had been rendered, and were played at once instead.
  int64_t LateMessages() const { return late_.load(std::memory_order_relaxed); }
  size_t Pending() const { return queue_.Size(); }

  // The rendering thread: the next `frames` frames, begun at `nowMs` (ignored by a synth rendered ahead).
  // `render(offset, count)` renders `count` frames at `offset` within the block; between its calls the due
  // messages are played, so each starts with the synth's first internal block at or after its frame.
  // No allocation; the queue's lock is only taken to pick a message.
  template <typename RenderFn>
  void Render(double nowMs, int frames, RenderFn&& render, bool learnClock = true) {
    if (learnClock) clock_.BlockStarts(frame_, nowMs);
    const double untilMs = clock_.DueMsOf(static_cast<double>(frame_ + frames));
    int done = 0;
    while (const auto message = queue_.PopDueBy(untilMs)) {
      const int64_t frame = std::llround(clock_.FrameOf(message->dueMs));
      // Within a synth block of its frame it still starts where it would have: not late.
      if (frame < frame_ - kSynthBlockFrames) late_.fetch_add(1, std::memory_order_relaxed);
      const int at = static_cast<int>(std::clamp<int64_t>(frame - frame_, done, frames));
      if (at > done) render(done, at - done);
      done = at;
      engine_.Send(message->word);
    }
    if (done < frames) render(done, frames - done);
    frame_ += frames;
  }

 private:
  SynthEngine& engine_;
  FrameClock clock_;
  TimedMessageQueue queue_;
  int64_t frame_ = 0;  // the rendering thread's own
  std::atomic<int64_t> late_ = 0;
  std::atomic<double> sentUpToMs_ = 0;
  std::atomic<double> sentAtMs_ = -kSongStoppedMs;
};

}  // namespace sonvela
