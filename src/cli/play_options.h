#pragma once
// The command line of `play`: files, output, capture, and the switches that press the transport's buttons.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "session/command.h"

namespace sonvela {

struct PlayOptions {
  std::vector<std::string> files;
  int port = -1;        // -1: the default output (the built-in synth)
  std::string capture;  // a capture file instead of sound; empty: sound
  bool fast = false;
  std::string charset;           // of the song's texts on the terminal; empty: SONVELA_CHARSET, else detected
  double stopAfterSeconds = 0;   // 0: play until the end
  std::vector<Command> presses;  // in command-line order
};

// `--loop START END` takes two values, which the parser cannot: they are joined into one first.
QStringList JoinLoopValues(const QStringList& arguments);
void AddPlayOptions(QCommandLineParser& parser);
// Fills `options` from a parsed command line; returns the problem, empty when there is none.
QString ReadPlayOptions(const QCommandLineParser& parser, PlayOptions& options);

}  // namespace sonvela
