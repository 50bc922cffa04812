// sonvela-cli: the headless toolbox over the same core as the desktop program.

#include <QCoreApplication>
#include <QCommandLineParser>
#include <QDir>
#include <cstdio>

#include "cli/stderr_messages.h"
#include "cli/write_lines.h"
#include "compose/compose_song.h"
#include "files/load_song.h"
#include "text/local_date_time.h"
#include "text/logs.h"

namespace {

constexpr int kDone = 0;
constexpr int kFileError = 1;
constexpr int kUsageError = 2;

const char* const kDescription =
    "Sonvela toolbox: the MIDI file analysis and composer of Sonvela, without windows.\n"
    "\n"
    "Commands:\n"
    "  listing FILE    print the analysis listing of FILE, one listing line per output line\n"
    "  events FILE     print the event table of FILE, one item per line (columns separated by byte 0x05)\n"
    "  log FILE        print the debug-log lines that loading FILE writes (file name, summary, totals)\n"
    "  compose [DIR]   write the demonstration piece as \"creato.mid\" into DIR (default: current folder)\n"
    "\n"
    "Messages the program would show in a message box go to standard error.\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 usage error.";

int Usage(const QCommandLineParser& parser, const QString& problem) {
  std::fprintf(stderr, "%s\n\n%s", problem.toLocal8Bit().constData(), parser.helpText().toLocal8Bit().constData());
  return kUsageError;
}

int RunLoad(const QString& command, const std::string& file) {
  sonvela::SongDocument document;
  sonvela::Logs logs;
  sonvela::StderrMessages messages;
  if (!sonvela::LoadSongFile(document, file, logs, messages, sonvela::LocalDateTimeNow())) return kFileError;
  const sonvela::LineList& lines = command == "listing" ? document.Listing.Lines
                                   : command == "events" ? document.EventTable
                                                         : logs.Debug;
  if (!sonvela::WriteLines(lines)) {
    std::fprintf(stderr, "Cannot write to standard output.\n");
    return kFileError;
  }
  return kDone;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("sonvela-cli");
  QCommandLineParser parser;
  parser.setApplicationDescription(kDescription);
  parser.addHelpOption();
  parser.addPositionalArgument("command", "listing, events, log or compose");
  parser.addPositionalArgument("args", "FILE for listing, events and log; DIR for compose", "[args...]");
  if (!parser.parse(QCoreApplication::arguments())) return Usage(parser, parser.errorText());
  if (parser.isSet("help")) {
    std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
    return kDone;
  }
  const QStringList args = parser.positionalArguments();
  if (args.isEmpty()) return Usage(parser, "No command given.");
  const QString command = args[0];
  if (command == "listing" || command == "events" || command == "log") {
    if (args.size() != 2) return Usage(parser, command + " takes one FILE.");
    return RunLoad(command, QFile::encodeName(args[1]).toStdString());
  }
  if (command == "compose") {
    if (args.size() > 2) return Usage(parser, "compose takes at most one DIR.");
    const std::string directory = args.size() == 2 ? QFile::encodeName(args[1]).toStdString() : std::string(".");
    sonvela::Logs logs;
    sonvela::StderrMessages messages;
    if (!sonvela::ComposeSong(directory, logs, messages)) return kFileError;
    std::printf("%s\n", QDir(QString::fromLocal8Bit(directory)).filePath("creato.mid").toLocal8Bit().constData());
    return kDone;
  }
  return Usage(parser, "Unknown command: " + command);
}
