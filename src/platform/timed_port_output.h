#pragma once
// An output that takes the song's messages as a MIDI port takes them: each is handed on to `output` by a
// sender thread at its due time plus the output latency; live messages (Send) go at once. The real-time
// captures record through it, so that they hold the times at which a port is sent each message. `output`
// takes messages whether open or not, as the capture does: a close leaves the pending ones to their time.

#include <mutex>

#include "platform/log_sink.h"
#include "platform/timed_port_sender.h"
#include "player/midi_out.h"

namespace sonvela {

class TimedPortOutput : public MidiOut {
 public:
  TimedPortOutput(MidiOut& output, LogSink log);

  int DeviceCount() override { return output_.DeviceCount(); }
  std::string DeviceName(int device) override { return output_.DeviceName(device); }
  int Open(int device) override { return output_.Open(device); }
  int Close() override { return output_.Close(); }
  int OpenDeviceId() override { return output_.OpenDeviceId(); }
  std::string ErrorText(int code) override { return output_.ErrorText(code); }
  void Send(uint32_t message) override { output_.Send(message); }
  void SendAt(uint32_t message, double dueMs) override { sender_.SendAt(message, dueMs); }

  // Hands on at once what is pending (before a recording starts: it was sent before).
  void SendPendingNow();
  // Returns once every message taken so far has been handed on at its time (at the end of a run, before
  // what was sent is read).
  void Drain();

 private:
  void SendDue();

  MidiOut& output_;
  std::mutex sending_;      // held while a message is taken and handed on
  TimedPortSender sender_;  // last: its thread calls SendDue
};

}  // namespace sonvela
