#include "cli/render_command.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/play_run.h"
#include "cli/terminal_screen.h"
#include "cli/tick_drivers.h"
#include "platform/interrupt_signal.h"
#include "platform/offline_renderer.h"
#include "platform/system_wall_clock.h"
#include "session/simulated_ticks.h"

namespace sonvela {

namespace {

// After the song's end the releases and the reverb ring out.
constexpr double kTailMs = 2000;

const char* const kRenderDescription =
    "Renders FILE through the built-in synth into OUT.wav (16-bit stereo, 44100 Hz), faster than real "
    "time. The song is played as play does, on simulated 10 ms ticks, so the timing is playback's; 2 s "
    "follow its end. SONVELA_SOUNDFONT names the SoundFont (default: the General MIDI one of the system).\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 usage error, 128 + N stopped by signal "
    "N (130: Ctrl-C).";

// The renderer's log lines say why it failed; they are kept to be reported.
class RendererLog {
 public:
  LogSink Sink() {
    return [this](const std::string& line) {
      std::lock_guard lock(mutex_);
      lines_.push_back(line);
    };
  }
  void Report() {
    std::lock_guard lock(mutex_);
    for (const std::string& line : lines_) std::fprintf(stderr, "%s\n", line.c_str());
    lines_.clear();
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> lines_;
};

std::string SoundFontFromEnvironment() {
  const char* path = std::getenv("SONVELA_SOUNDFONT");
  return path ? path : "";
}

}  // namespace

int RunRenderCommand(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(kRenderDescription);
  parser.addHelpOption();
  parser.addPositionalArgument("render", "The command.", "render");
  parser.addPositionalArgument("FILE", "A MIDI or karaoke file.");
  parser.addPositionalArgument("OUT.wav", "The WAV file to write.");
  if (const auto status = ParseCommandLine(parser, arguments)) return *status;
  const QStringList args = parser.positionalArguments();
  if (args.size() != 3) return UsageError(parser, "render takes FILE and OUT.wav.");

  PlayOptions options;
  options.files.push_back(LocalFileName(args[1]));
  const std::string wavPath = LocalFileName(args[2]);

  InterruptSignal interrupt;
  RendererLog log;
  OfflineRenderer renderer(SoundFontFromEnvironment(), log.Sink());
  if (!renderer.Begin(wavPath)) {
    log.Report();
    return kExitFileError;
  }
  SimulatedTicks ticks(SystemWallClock().Now());
  const TextDecoder texts;
  TerminalScreen screen(false, texts);
  PlayRun session(options, {renderer, ticks, ticks, screen, nullptr});
  session.Start();
  bool rendered = true;
  DriveSimulated(session, ticks, interrupt, [&](int64_t steps) {
    rendered = renderer.Render(static_cast<double>(steps * kSequencerPeriodMs)) && rendered;
    if (renderer.Full()) session.StopWith(kExitFileError);
  });
  const bool full = renderer.Full();
  if (session.ExitStatus() == kExitDone) rendered = renderer.Render(kTailMs) && rendered;
  const bool finished = renderer.Finish();
  if (!finished || !rendered) std::fprintf(stderr, "Cannot write \"%s\".\n", wavPath.c_str());
  if (full && finished && rendered) {
    std::fprintf(stderr,
                 "The song is longer than a WAV file can hold: \"%s\" keeps its first %.0f minutes.\n",
                 wavPath.c_str(), static_cast<double>(renderer.FramesWritten()) / kSynthSampleRate / 60);
  }
  const int status = !finished || !rendered || full ? kExitFileError : session.ExitStatus();
  // A song that could not be played leaves no empty WAV behind; one stopped by Ctrl-C or by the WAV
  // format's limit keeps what was rendered.
  if (status == kExitFileError && !full) std::remove(wavPath.c_str());
  if (status == kExitDone) std::printf("%s\n", wavPath.c_str());
  return status;
}

}  // namespace sonvela
