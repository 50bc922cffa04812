#pragma once
// An output that takes the song's messages as a MIDI port takes them: each is handed on to `output` by a
// sender thread at its due time plus the output latency; live messages (Send) go at once. The real-time
// captures record through it, so that they hold the times at which a port is sent each message. `output`
// takes messages whether open or not, as the capture does: a close leaves the pending ones to their time.

#include <memory>
#include <mutex>

#include "platform/log_sink.h"
#include "platform/timed_port_sender.h"
#include "player/capture_midi_out.h"
#include "player/forwarding_midi_out.h"

namespace sonvela {

class TimedPortOutput : public ForwardingMidiOut {
 public:
  TimedPortOutput(MidiOut& output, LogSink log);

  void SendAt(uint32_t message, double dueMs) override { sender_.SendAt(message, dueMs); }

  // Hands on at once what is pending (before a recording starts: it was sent before).
  void SendPendingNow();
  // Returns once every message taken so far has been handed on at its time (at the end of a run, before
  // what was sent is read).
  void Drain();

 private:
  void SendDue();

  std::mutex sending_;      // held while a message is taken and handed on
  TimedPortSender sender_;  // last: its thread calls SendDue
};

// A real-time capture fed as a port is: what is still held back when its recording starts was sent before
// it, and goes on unrecorded.
std::unique_ptr<TimedPortOutput> TimedCapture(CaptureMidiOut& capture, LogSink log);

}  // namespace sonvela
