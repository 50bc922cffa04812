#pragma once
// The output as the transport sees it: every message it sends belongs to the song, so it goes out stamped
// with the ideal time of the tick that sent it (or, outside ticks, the present). An output that places
// messages in time then plays the song on the beat whenever the UI thread got to the tick.

#include <optional>

#include "player/midi_out.h"
#include "player/tick_timers.h"
#include "player/wall_clock.h"

namespace sonvela {

class SongMidiOut : public MidiOut {
 public:
  SongMidiOut(MidiOut& output, TickTimers& timers, WallClock& clock)
      : output_(output), timers_(timers), clock_(clock) {}

  int DeviceCount() override { return output_.DeviceCount(); }
  std::string DeviceName(int device) override { return output_.DeviceName(device); }
  int Open(int device) override { return output_.Open(device); }
  int Close() override { return output_.Close(); }
  int OpenDeviceId() override { return output_.OpenDeviceId(); }
  std::string ErrorText(int code) override { return output_.ErrorText(code); }
  void Send(uint32_t message) override { output_.SendAt(message, DueNow()); }
  void SendAt(uint32_t message, double dueMs) override { output_.SendAt(message, dueMs); }
  void SongSentUpTo(double dueMs) override { output_.SongSentUpTo(dueMs); }
  // At the end of a song tick: everything due by the tick (or, outside ticks, by now) has been sent.
  void SongSentUpToNow() { output_.SongSentUpTo(DueNow()); }
  // Outside ticks, the sends are due at `dueMs` rather than now (nullopt: now again).
  void SetDueOutsideTicks(std::optional<double> dueMs) { dueOutsideTicks_ = dueMs; }

 private:
  double DueNow() const {
    if (const std::optional<double> due = timers_.DeliveringDueMs()) return *due;
    return dueOutsideTicks_ ? *dueOutsideTicks_ : clock_.MonotonicMs();
  }

  MidiOut& output_;
  TickTimers& timers_;
  WallClock& clock_;
  std::optional<double> dueOutsideTicks_;
};

}  // namespace sonvela
