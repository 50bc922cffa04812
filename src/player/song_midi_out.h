#pragma once
// The output as the transport sees it: every message it sends belongs to the song, so it goes out stamped
// with the ideal time of the tick that sent it (or, outside ticks, the present). An output that places
// messages in time then plays the song on the beat whenever the UI thread got to the tick.

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
  void Send(uint32_t message) override {
    output_.SendAt(message, timers_.DeliveringDueMs().value_or(clock_.MonotonicMs()));
  }
  void SendAt(uint32_t message, double dueMs) override { output_.SendAt(message, dueMs); }

 private:
  MidiOut& output_;
  TickTimers& timers_;
  WallClock& clock_;
};

}  // namespace sonvela
