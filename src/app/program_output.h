#pragma once
// The output the desktop program sends to, as its environment sets it up: the platform's outputs with the
// built-in synth as the default; SONVELA_MIDI_OUT=NAME makes the output port of that name the default
// instead; SONVELA_CAPTURE=FILE records every message into FILE (written as playing goes) instead of
// sounding.

#include <memory>
#include <string>

#include "platform/log_sink.h"
#include "platform/platform_midi_out.h"
#include "platform/redirected_midi_out.h"
#include "platform/timed_port_output.h"
#include "player/capture_file.h"
#include "player/capture_midi_out.h"
#include "player/midi_out.h"
#include "player/wall_clock.h"
#include "text/message_boxes.h"

namespace sonvela {

inline constexpr char kCaptureVariable[] = "SONVELA_CAPTURE";
inline constexpr char kMidiOutVariable[] = "SONVELA_MIDI_OUT";

// An output whose default is the port of a given name, looked up at every open (port numbers change as
// ports come and go), as the device list shows it: its name, or its whole entry (" 1 Name"). The default
// fails to open when no port has that name.
class NamedDefaultMidiOut : public RedirectedMidiOut {
 public:
  NamedDefaultMidiOut(MidiOut& output, std::string portName, LogSink log);

  // The device number of the port; -1 when there is none of that name.
  int FindPort();

 private:
  std::string portName_;
  LogSink log_;
};

class ProgramOutput {
 public:
  // `log` takes the platform's own lines, from any thread. `clock` times the capture (monotonic ms).
  ProgramOutput(LogSink log, WallClock& clock);
  ~ProgramOutput();
  ProgramOutput(const ProgramOutput&) = delete;
  ProgramOutput& operator=(const ProgramOutput&) = delete;

  MidiOut& Midi() { return *midi_; }
  // The recorder when capturing, else null.
  CaptureMidiOut* Capture() { return capture_.get(); }
  // Adds what was captured since the last call to the capture file, which grows as playing goes.
  void FlushCapture();
  // The last of it, at the end; tells the user when the file could not be written.
  void WriteCapture(MessageBoxes& messages);

 private:
  std::unique_ptr<PlatformMidiOut> platform_;
  std::unique_ptr<NamedDefaultMidiOut> named_;
  std::unique_ptr<CaptureMidiOut> capture_;
  std::unique_ptr<TimedPortOutput> timedCapture_;  // the capture, fed as a port is
  std::string capturePath_;
  CaptureFile captureFile_;
  std::string captureError_;  // the first failure to create or write the file
  MidiOut* midi_ = nullptr;
};

}  // namespace sonvela
