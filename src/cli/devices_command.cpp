#include "cli/devices_command.h"

#include <QCommandLineParser>
#include <algorithm>
#include <cstdio>

#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "devices/midi_out_devices.h"
#include "platform/jack_server.h"
#include "platform/midi_in_ports.h"
#include "platform/platform_midi_out.h"

namespace sonvela {

namespace {

constexpr const char* kOutputTitle = "Midi out device";
constexpr const char* kInputTitle = "Midi in device";

void PrintEntry(const std::string& entry) {
  std::fwrite(entry.data(), 1, entry.size(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace

int RunDevicesCommand(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Lists the MIDI output devices (for play --port N) and the MIDI input devices, each under the title "
      "of its device dialog and as the dialog lists it: the device number, a blank, the name. Output 0 is "
      "the built-in synth; the other devices are the ports of the ALSA sequencer, or of a running JACK "
      "server.");
  parser.addHelpOption();
  parser.addPositionalArgument("devices", "The command.", "devices");
  if (const auto status = ParseCommandLine(parser, arguments)) return *status;
  if (parser.positionalArguments().size() != 1) return UsageError(parser, "devices takes no arguments.");

  // Listing needs no sound: the synth is made without an audio output.
  SynthOptions silent = SynthOptions::FromEnvironment();
  silent.audioDrivers.clear();
  silent.audioFile.clear();
  PlatformMidiOut outputs(silent, LogSink{});
  MidiOutDevices devices;
  Logs logs;
  const int listed = FillMidiOutNames(devices, outputs, logs);
  std::printf("%s\n", kOutputTitle);
  for (int device = 0; device < listed; ++device)
    PrintEntry(devices.MidiOutNames[static_cast<size_t>(device)]);

  std::printf("%s\n", kInputTitle);
  const std::vector<std::string> inputs = MidiInPortNames(LogSink{});
  const int inputCount = std::min(static_cast<int>(inputs.size()), kMaxListedMidiOuts);
  for (int device = 0; device < inputCount; ++device) {
    PrintEntry(MidiOutEntry(device, inputs[static_cast<size_t>(device)]));
  }
  // Without it, a user would only see that the JACK ports are missing.
  if (const std::string why = JackNotAnswering(); !why.empty())
    std::fprintf(stderr, "JACK: %s\n", why.c_str());
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fprintf(stderr, "Cannot write to standard output.\n");
    return kExitFileError;
  }
  return kExitDone;
}

}  // namespace sonvela
