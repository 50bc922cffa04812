#pragma once
// The output as the transport sees it: every message it sends belongs to the song, so it goes out stamped
// with the ideal time of the tick that sent it (or, outside ticks, the present). An output that places
// messages in time then plays the song on the beat whenever the UI thread got to the tick.

#include <optional>

#include "player/forwarding_midi_out.h"
#include "player/tick_timers.h"
#include "player/wall_clock.h"

namespace sonvela {

class SongMidiOut : public ForwardingMidiOut {
 public:
  SongMidiOut(MidiOut& output, TickTimers& timers, WallClock& clock)
      : ForwardingMidiOut(output), timers_(timers), clock_(clock) {}

  void Send(uint32_t message) override { output_.SendAt(message, DueNow()); }
  // At the end of a song tick: everything due by the tick (or, outside ticks, by now) has been sent.
  void SongSentUpToNow() { output_.SongSentUpTo(DueNow()); }
  // Outside ticks, the sends are due at `dueMs` rather than now (nullopt: now again).
  void SetDueOutsideTicks(std::optional<double> dueMs) { dueOutsideTicks_ = dueMs; }

 private:
  double DueNow() const {
    if (const std::optional<double> due = timers_.DeliveringDueMs()) return *due;
    return dueOutsideTicks_ ? *dueOutsideTicks_ : clock_.MonotonicMs();
  }

  TickTimers& timers_;
  WallClock& clock_;
  std::optional<double> dueOutsideTicks_;
};

}  // namespace sonvela
