#include "cli/play_options.h"

#include <QHash>
#include <cmath>

#include "cli/command_line.h"
#include "player/transport_state.h"

namespace sonvela {

namespace {

constexpr const char* kLoopOption = "--loop";
constexpr QChar kLoopSeparator = ':';

struct Switch {
  const char* name;
  CommandKind command;
  const char* help;
};

const Switch kSwitches[] = {
    {"continuo", CommandKind::kContinuo,
     "Continuo: the FILEs play in turn, each after the one before has ended; playing stops after the last."},
    {"intro", CommandKind::kIntro, "Intro: only the first 4 s of each song."},
    {"mute", CommandKind::kMute, "Mute: every message is sent with data 2 = 0."},
    {"monitor", CommandKind::kMonitor,
     "Monitor: print the monitor lines of every event played on standard output."},
    {"fix", CommandKind::kTempoFixed,
     "Fix: tempo changes in the song are ignored (so --halve --fix plays 120 BPM at 60)."},
    {"halve", CommandKind::kHalveTempo, "\":2\": halve the tempo (rounded, ties to even)."},
    {"double", CommandKind::kDoubleTempo, "\"x2\": double the tempo."},
};

bool ReadChannel(const QString& text, int& channel) {
  bool ok = false;
  channel = text.toInt(&ok);
  return ok && channel >= 1 && channel <= kChannels;
}

bool ReadPercent(const QString& text, float& percent) {
  bool ok = false;
  percent = text.toFloat(&ok);
  return ok && std::isfinite(percent) && percent >= 0 && percent <= 100;
}

QString ReadLoop(const QString& value, Command& start, Command& end) {
  const QStringList parts = value.split(kLoopSeparator);
  if (parts.size() != 2 || !ReadPercent(parts[0], start.percent) || !ReadPercent(parts[1], end.percent) ||
      start.percent >= end.percent) {
    return "--loop takes START END, percentages of the song with 0 <= START < END <= 100.";
  }
  return {};
}

}  // namespace

QStringList JoinLoopValues(const QStringList& arguments) {
  QStringList joined;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == kLoopOption && i + 2 < arguments.size() &&
        !arguments[i + 1].contains(kLoopSeparator)) {
      joined << QString(kLoopOption) + "=" + arguments[i + 1] + kLoopSeparator + arguments[i + 2];
      i += 2;
    } else {
      joined << arguments[i];
    }
  }
  return joined;
}

void AddPlayOptions(QCommandLineParser& parser) {
  parser.addOption(
      {"port", "Play on output device N of \"sonvela-cli devices\" (0 = the built-in synth, the default).",
       "N"});
  parser.addOption(
      {"capture",
       "Record every sent short message into FILE instead of sounding: one line each, "
       "ms<TAB>status<TAB>data1<TAB>data2, decimal, ms since the first Play with three decimals.",
       "FILE"});
  parser.addOption(
      {"fast",
       "Deliver the 10 ms ticks without waiting; the clock moves on 10 ms a tick, so --capture then "
       "writes 10 x the tick count as ms."});
  parser.addOption({"charset",
                    "Show the song's texts in charset NAME (UTF-8, Windows-1251, Shift_JIS, GB18030, ...) "
                    "instead of the one detected over its texts; \"Automatico\" detects. Default: "
                    "SONVELA_CHARSET, else Automatico.",
                    "NAME"});
  parser.addOption({"stop-after",
                    "Stop after SECONDS of playing (simulated ones with --fast), loops included.",
                    "SECONDS"});
  for (const Switch& each : kSwitches) parser.addOption({each.name, each.help});
  parser.addOption(
      {"off", "A click on the button of channel N (1..16): switches it off, a second click on again.", "N"});
  parser.addOption(
      {"solo", "A right click on the button of channel N (1..16): only that channel plays.", "N"});
  parser.addOption(
      {"loop",
       "START END: loop between START and END percent of the song (the loop bar's left click at START, "
       "then its right click at END). It repeats for ever: end it with Ctrl-C, --stop-after or --intro.",
       "START END"});
}

QString ReadPlayOptions(const QCommandLineParser& parser, PlayOptions& options) {
  const QStringList positional = parser.positionalArguments();
  for (qsizetype i = 1; i < positional.size(); ++i) options.files.push_back(LocalFileName(positional[i]));
  if (options.files.empty()) return "play takes at least one FILE.";

  if (parser.isSet("port")) {
    bool ok = false;
    options.port = parser.value("port").toInt(&ok);
    if (!ok || options.port < 0) return "--port takes a device number (see \"sonvela-cli devices\").";
  }
  options.capture = LocalFileName(parser.value("capture"));
  if (parser.isSet("capture") && options.capture.empty()) return "--capture takes a file name.";
  if (parser.isSet("capture") && parser.isSet("port"))
    return "--capture records instead of sounding: no --port.";
  options.fast = parser.isSet("fast");
  options.charset = parser.value("charset").toStdString();
  if (parser.isSet("charset") && options.charset.empty()) return "--charset takes a charset's name.";
  if (parser.isSet("stop-after")) {
    bool ok = false;
    options.stopAfterSeconds = parser.value("stop-after").toDouble(&ok);
    if (!ok || !std::isfinite(options.stopAfterSeconds) || options.stopAfterSeconds <= 0)
      return "--stop-after takes a number of seconds above 0.";
  }

  // The presses keep the order of the command line, as the clicks would: "--solo 2 --off 2" silences
  // channel 2, "--off 2 --solo 2" plays it alone.
  QHash<QString, qsizetype> used;
  for (const QString& name : parser.optionNames()) {
    const qsizetype index = used[name]++;
    for (const Switch& each : kSwitches) {
      if (name == each.name) options.presses.push_back({each.command});
    }
    const QString value = parser.values(name).value(index);
    if (name == "off" || name == "solo") {
      Command press{name == "off" ? CommandKind::kChannelOnOff : CommandKind::kSolo};
      if (!ReadChannel(value, press.channel)) return "--" + name + " takes a channel 1..16.";
      options.presses.push_back(press);
    } else if (name == "loop") {
      // A left click on the loop bar at the start, then a right click at the end.
      Command start{CommandKind::kLoopStart};
      Command end{CommandKind::kLoopEnd};
      if (const QString problem = ReadLoop(value, start, end); !problem.isEmpty()) return problem;
      options.presses.push_back(start);
      options.presses.push_back(end);
    }
  }

  int continuo = 0;
  bool loop = false;
  int intro = 0;
  for (const Command& press : options.presses) {
    continuo += press.kind == CommandKind::kContinuo;
    loop = loop || press.kind == CommandKind::kLoopEnd;
    intro += press.kind == CommandKind::kIntro;
  }
  if (options.files.size() > 1 && continuo % 2 == 0)
    return "Several FILEs play in turn only with --continuo.";
  if (options.fast && loop && intro % 2 == 0 && options.stopAfterSeconds == 0)
    return "With --fast a loop would repeat for ever: add --stop-after SECONDS or --intro.";
  return {};
}

}  // namespace sonvela
