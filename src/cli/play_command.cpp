#include "cli/play_command.h"

#include <unistd.h>

#include <QCommandLineParser>
#include <memory>

#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/play_options.h"
#include "cli/play_run.h"
#include "cli/sound_output.h"
#include "cli/terminal_screen.h"
#include "cli/tick_drivers.h"
#include "cli/tick_relay.h"
#include "platform/interrupt_signal.h"
#include "platform/qt_tick_timers.h"
#include "platform/system_wall_clock.h"
#include "platform/text_decoder.h"
#include "platform/timed_port_output.h"
#include "player/capture_file.h"
#include "player/capture_midi_out.h"
#include "session/simulated_ticks.h"

namespace sonvela {

namespace {

int CaptureFailed(const std::string& path, const std::string& error) {
  std::fprintf(stderr, "Cannot write the capture file \"%s\": %s\n", path.c_str(), error.c_str());
  return kExitFileError;
}

const char* const kPlayDescription =
    "Plays FILE in real time on the built-in synth (or --port N). On a terminal the progress text is "
    "shown once a second and the lyric line as it grows. The switches act as the buttons of the window: "
    "they are pressed after the load and before Play, in the order given; the tempo and channel buttons "
    "and the loop marks again after each load of --continuo.\n"
    "Playing ends when the song (with --continuo: the last FILE) has ended, when --stop-after is reached, "
    "or on Ctrl-C, which silences every channel first.\n"
    "Exit status: 0 done, 1 a file could not be read or written (or the output opened, or the song clock "
    "cannot advance), 2 usage error, 128 + N stopped by signal N (130: Ctrl-C).";

// The clock and timers playback runs on: the machine's, or simulated ones with --fast.
struct Timing {
  explicit Timing(bool fast) {
    if (fast) {
      simulated = std::make_unique<SimulatedTicks>(SystemWallClock().Now());
    } else {
      realTimers = std::make_unique<QtTickTimers>(relay);
    }
  }
  TickTimers& Timers() { return simulated ? static_cast<TickTimers&>(*simulated) : *realTimers; }
  WallClock& Clock() { return simulated ? static_cast<WallClock&>(*simulated) : systemClock; }

  TickRelay relay;
  std::unique_ptr<SimulatedTicks> simulated;
  std::unique_ptr<QtTickTimers> realTimers;
  SystemWallClock systemClock;
};

}  // namespace

int RunPlayCommand(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(kPlayDescription);
  parser.addHelpOption();
  parser.addPositionalArgument("play", "The command.", "play");
  parser.addPositionalArgument("FILE", "MIDI or karaoke files; several play in turn with --continuo.",
                               "FILE...");
  AddPlayOptions(parser);
  if (const auto status = ParseCommandLine(parser, JoinLoopValues(arguments))) return *status;
  PlayOptions options;
  if (const QString problem = ReadPlayOptions(parser, options); !problem.isEmpty()) {
    return UsageError(parser, problem);
  }

  TextDecoder texts;
  const std::string charset = parser.isSet("charset") ? options.charset : CharsetSetting();
  if (!texts.Choose(charset)) {
    return UsageError(parser, QString("%1: unknown charset \"%2\".")
                                  .arg(parser.isSet("charset") ? "--charset" : kCharsetVariable,
                                       QString::fromStdString(charset)));
  }

  // Before any output starts its threads, so that none of them takes Ctrl-C.
  InterruptSignal interrupt;
  Timing timing(options.fast);

  CaptureFile captureFile;
  std::unique_ptr<CaptureMidiOut> recorder;
  std::unique_ptr<TimedPortOutput> timedRecorder;
  std::unique_ptr<SoundOutput> sound;
  MidiOut* midi = nullptr;
  if (!options.capture.empty()) {
    if (std::string error; !captureFile.Create(options.capture, error))
      return CaptureFailed(options.capture, error);
    // The capture counts on the clock playback runs on: simulated with --fast, else the machine's.
    recorder = std::make_unique<CaptureMidiOut>([&clock = timing.Clock()] { return clock.MonotonicMs(); });
    midi = recorder.get();
    // In real time it records what a port would be sent, when it would be sent it.
    if (!options.fast) {
      timedRecorder = TimedCapture(*recorder, nullptr);
      midi = timedRecorder.get();
    }
  } else {
    int status = kExitDone;
    sound = SoundOutput::Open(options.port, status);
    if (!sound) return status;
    midi = &sound->Midi();
  }

  TerminalScreen screen(isatty(STDOUT_FILENO) == 1, texts);
  PlayRun run(options, {*midi, timing.Timers(), timing.Clock(), screen, recorder.get()});
  texts.Follow(run.Session().Document().Tables);
  timing.relay.target = &run;
  // The capture is written as it goes, ten times a second while the song plays.
  std::string captureError;
  bool captureWritten = true;
  run.onProgressTick = [&] {
    if (recorder)
      captureWritten = captureFile.Append(recorder->TakeRecorded(), captureError) && captureWritten;
  };
  run.Start();
  if (options.fast) {
    DriveSimulated(run, *timing.simulated, interrupt, {});
  } else {
    DriveRealTime(run, interrupt, sound ? sound->TailMs() : 0);
  }

  if (timedRecorder) timedRecorder->Drain();
  if (recorder && !(captureFile.Close(recorder->TakeRecorded(), captureError) && captureWritten))
    return CaptureFailed(options.capture, captureError);
  return run.ExitStatus();
}

}  // namespace sonvela
