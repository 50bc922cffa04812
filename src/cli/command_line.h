#pragma once
// What every command shares on the command line: parsing with help, usage errors, file names.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

namespace sonvela {

// Parses `arguments` (program name first). Returns an exit status when the command is already done: help
// printed (0) or a usage error reported (2); nothing when the command should go on.
std::optional<int> ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments);
// Reports a usage error with the command's help, and returns its exit status.
int UsageError(const QCommandLineParser& parser, const QString& problem);
// A command-line file name as the file system spells it.
std::string LocalFileName(const QString& name);

}  // namespace sonvela
