#pragma once
// The real MIDI output: device 0 is the built-in synth, then every RtMidi output port.

#include <rtmidi/RtMidi.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/built_in_synth.h"
#include "platform/jack_cycle_watch.h"
#include "platform/log_sink.h"
#include "platform/timed_port_sender.h"
#include "player/midi_out.h"

namespace sonvela {

class PlatformMidiOut : public MidiOut {
 public:
  // Connects to the MIDI port system: the ALSA sequencer, or JACK when there is no sequencer. Neither being
  // there just means no ports. Nothing is open until Open. The built-in synth starts (its SoundFont loading
  // in the background) at the first Open of device 0, so that listing the devices stays quick.
  PlatformMidiOut(const SynthOptions& options, LogSink log);
  explicit PlatformMidiOut(LogSink log = {})
      : PlatformMidiOut(SynthOptions::FromEnvironment(), std::move(log)) {}
  ~PlatformMidiOut() override;

  int DeviceCount() override;
  std::string DeviceName(int device) override;
  int Open(int device) override;
  int Close() override;
  int OpenDeviceId() override;
  std::string ErrorText(int code) override;
  void Send(uint32_t message) override;
  // The song's messages, at their due time plus kOutputLatencyMs: the built-in synth places them on its
  // sample clock, a port gets them from the timed sender's thread.
  void SendAt(uint32_t message, double dueMs) override;
  void SongSentUpTo(double dueMs) override;

  // The built-in synth, started now if no Open has started it yet.
  BuiltInSynth& Synth();
  // "ALSA", "JACK", or empty when no port system could be reached.
  std::string PortSystem() const;

 private:
  static void OnPortError(RtMidiError::Type type, const std::string& text, void* data);
  void LogPortError(const std::string& text);
  // Connects to the ALSA sequencer, else a running JACK server; with switchMutex_ held.
  void ConnectPorts();
  // With switchMutex_ held.
  int CloseLocked();
  // With the JACK port system: waits (bounded) until `cycles` process cycles have begun. With switchMutex_
  // held, never sendMutex_.
  void WaitForJackCycles(int cycles);
  BuiltInSynth& SynthLocked();
  // With sendMutex_ held.
  void SendToPort(uint32_t message);
  // On the timed sender's thread.
  void SendDuePortMessages();

  LogSink log_;
  SynthOptions synthOptions_;
  // One change at a time (connecting, starting the synth, opening, closing), held across the JACK waits.
  // Sends never take it.
  mutable std::mutex switchMutex_;
  // What the sends use: the open device and the port while it is open. Sends come from the UI, the MIDI
  // input's thru and the timed sender's threads; each holds it only for the message itself, and a change
  // never holds it while it waits, so a switch drops the sends that come meanwhile instead of holding
  // them up. Taken after switchMutex_, never before it.
  mutable std::mutex sendMutex_;
  // Made or replaced under both mutexes, read under either.
  std::unique_ptr<BuiltInSynth> synth_;
  std::unique_ptr<RtMidiOut> ports_;
  // With the JACK port system: RtMidi's JACK port only queues at Send and hands on in a later cycle, and
  // connections change at cycle starts, so opening and closing wait for cycles. Under switchMutex_.
  std::unique_ptr<JackCycleWatch> jackCycles_;
  // Under sendMutex_. -1 while a port opens or closes: no send reaches ports_ then, so the port calls of
  // a change need switchMutex_ only.
  int openDevice_ = -1;
  // Port errors come from any thread that uses the port.
  std::mutex errorMutex_;
  std::string lastPortError_;
  // Made at the first port opened, under both mutexes; goes before the port it sends to.
  std::unique_ptr<TimedPortSender> portSender_;
};

}  // namespace sonvela
