#pragma once
// The real MIDI output: device 0 is the built-in synth, then every RtMidi output port.

#include <rtmidi/RtMidi.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/built_in_synth.h"
#include "platform/log_sink.h"
#include "player/midi_out.h"

namespace sonvela {

class PlatformMidiOut : public MidiOut {
 public:
  // Starts the built-in synth (SoundFont loading in the background) and connects to the MIDI port system:
  // the ALSA sequencer, or JACK when there is no sequencer. Neither being there just means no ports.
  // Nothing is open until Open.
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

  BuiltInSynth& Synth() { return synth_; }
  // "ALSA", "JACK", or empty when no port system could be reached.
  std::string PortSystem() const;

 private:
  static void OnPortError(RtMidiError::Type type, const std::string& text, void* data);
  void LogPortError(const std::string& text);
  // Connects to the ALSA sequencer, else a running JACK server; with mutex_ held.
  void ConnectPorts();
  int CloseLocked();

  LogSink log_;
  BuiltInSynth synth_;
  // Guards the open device and the port object: sends come from the UI and the MIDI input threads.
  mutable std::mutex mutex_;
  std::unique_ptr<RtMidiOut> ports_;
  int openDevice_ = -1;
  std::string lastPortError_;
};

}  // namespace sonvela
