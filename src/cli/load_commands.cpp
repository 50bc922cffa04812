#include "cli/load_commands.h"

#include <unistd.h>
#include <QCommandLineParser>
#include <QDir>

#include <cstdio>

#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/stderr_messages.h"
#include "cli/write_lines.h"
#include "compose/compose_song.h"
#include "files/load_song.h"
#include "platform/system_wall_clock.h"
#include "platform/vector_state.h"
#include "text/logs.h"

namespace sonvela {

int RunLoadCommand(const QStringList& arguments) {
  const QString command = arguments.value(1);
  QCommandLineParser parser;
  parser.setApplicationDescription(
      command == "listing"  ? "Prints the analysis listing of FILE, one listing line per line."
      : command == "events" ? "Prints the event table of FILE, one item per line (columns separated by "
                              "the byte 0x05)."
                            : "Prints the debug-log lines that loading FILE writes.");
  parser.addHelpOption();
  parser.addPositionalArgument(command, "The command.", command);
  parser.addPositionalArgument("FILE", "A MIDI or karaoke file.");
  if (const auto status = ParseCommandLine(parser, arguments)) return *status;
  const QStringList args = parser.positionalArguments();
  if (args.size() != 2) return UsageError(parser, command + " takes one FILE.");

  SongDocument document;
  Logs logs;
  StderrMessages messages;
  BlockWriter out(STDOUT_FILENO);
  // Each command has the reader build only what it prints. The listing is printed in blocks as the
  // reader writes it: the toolbox never holds a listing of hundreds of megabytes whole.
  const bool listing = command == "listing";
  const bool events = command == "events";
  if (listing) document.Listing.Drain = [&out](const LineList& lines) { out.Lines(lines); };
  const std::string fileName = LocalFileName(args[1]);
  const LocalDateTime now = SystemWallClock().Now();
  // Qt's argument parsing and file name conversion left the vector registers dirty: the reader
  // would run at half its speed.
  ClearVectorUpperHalves();
  if (!LoadSongFile(document, fileName, logs, messages, now, {listing, events})) return kExitFileError;
  if (listing) {
    out.Lines(document.Listing.Lines);
  } else if (events) {
    WriteEventTable(out, document);
  } else {
    out.Lines(logs.Debug);
  }
  if (!out.Finish()) {
    std::fprintf(stderr, "Cannot write to standard output.\n");
    return kExitFileError;
  }
  return kExitDone;
}

int RunComposeCommand(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription("Writes the demonstration piece as \"creato.mid\" into DIR.");
  parser.addHelpOption();
  parser.addPositionalArgument("compose", "The command.", "compose");
  parser.addPositionalArgument("DIR", "The folder (default: the current folder).", "[DIR]");
  if (const auto status = ParseCommandLine(parser, arguments)) return *status;
  const QStringList args = parser.positionalArguments();
  if (args.size() > 2) return UsageError(parser, "compose takes at most one DIR.");

  const std::string directory = args.size() == 2 ? LocalFileName(args[1]) : std::string(".");
  Logs logs;
  StderrMessages messages;
  if (!ComposeSong(directory, logs, messages)) return kExitFileError;
  std::printf("%s\n",
              QDir(QString::fromLocal8Bit(directory)).filePath(kComposedFileName).toLocal8Bit().constData());
  return kExitDone;
}

}  // namespace sonvela
