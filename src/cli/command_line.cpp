#include "cli/command_line.h"

#include <QFile>
#include <cstdio>

#include "cli/exit_status.h"

namespace sonvela {

std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments) {
  if (!parser.parse(arguments)) return UsageError(parser, parser.errorText());
  if (parser.isSet("help") || parser.isSet("help-all")) {
    std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
    return kExitDone;
  }
  return std::nullopt;
}

int UsageError(const QCommandLineParser& parser, const QString& problem) {
  std::fprintf(stderr, "%s\n\n%s", problem.toLocal8Bit().constData(),
               parser.helpText().toLocal8Bit().constData());
  return kExitUsageError;
}

std::string LocalFileName(const QString& name) {
  return QFile::encodeName(name).toStdString();
}

}  // namespace sonvela
