// sonvela-cli: the headless toolbox over the same core as the desktop program.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <array>
#include <cstdio>

#include "cli/command_line.h"
#include "cli/devices_command.h"
#include "cli/exit_status.h"
#include "cli/load_commands.h"
#include "cli/play_command.h"
#include "cli/render_command.h"
#include "platform/audio_libraries.h"

namespace {

const char* const kDescription =
    "Sonvela toolbox: the player, MIDI file analysis and composer of Sonvela, without windows.\n"
    "\n"
    "Commands (\"sonvela-cli COMMAND --help\" tells more):\n"
    "  listing FILE         print the analysis listing of FILE, one listing line per output line\n"
    "  events FILE          print the event table of FILE, one item per line (columns split by byte 0x05)\n"
    "  log FILE             print the debug-log lines that loading FILE writes (name, summary, totals)\n"
    "  compose [DIR]        write the demonstration piece as \"creato.mid\" into DIR (default: here)\n"
    "  play FILE... [opts]  play in real time on the built-in synth or a MIDI port, progress and lyrics\n"
    "                       on a terminal; or capture what would be sent (--capture, --fast)\n"
    "  render FILE OUT.wav  render FILE through the built-in synth into a WAV, with playback's timing\n"
    "  devices              list the MIDI output and input devices as the device dialogs would\n"
    "\n"
    "Messages the program would show in a message box go to standard error, one line each.\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 usage error,\n"
    "128 + N stopped by signal N (130: Ctrl-C).";

struct Command {
  const char* name;
  int (*run)(const QStringList& arguments);
};

constexpr std::array<Command, 7> kCommands = {{{"listing", sonvela::RunLoadCommand},
                                               {"events", sonvela::RunLoadCommand},
                                               {"log", sonvela::RunLoadCommand},
                                               {"compose", sonvela::RunComposeCommand},
                                               {"play", sonvela::RunPlayCommand},
                                               {"render", sonvela::RunRenderCommand},
                                               {"devices", sonvela::RunDevicesCommand}}};

}  // namespace

int main(int argc, char* argv[]) {
  // Before any thread starts: it sets the environment the audio libraries read.
  sonvela::PrepareAudioLibraries();
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("sonvela-cli");
  const QStringList arguments = QCoreApplication::arguments();
  // Each command parses its own options, so the command word is looked at first.
  if (arguments.size() > 1) {
    for (const Command& command : kCommands) {
      if (arguments[1] == command.name) return command.run(arguments);
    }
  }

  QCommandLineParser parser;
  parser.setApplicationDescription(kDescription);
  parser.addHelpOption();
  parser.addPositionalArgument("command", "listing, events, log, compose, play, render or devices");
  parser.addPositionalArgument("args", "what the command takes", "[args...]");
  if (const auto status = sonvela::ParseCommandLine(parser, arguments)) return *status;
  const QStringList args = parser.positionalArguments();
  if (args.isEmpty()) return sonvela::UsageError(parser, "No command given.");
  return sonvela::UsageError(parser, "Unknown command: " + args[0]);
}
