#include "devices/midi_in_callback.h"

#include <cstdint>
#include <utility>

#include "text/format_mask.h"
#include "text/number_text.h"

namespace sonvela {

namespace {

constexpr int kNoteOff = 0x8;
constexpr int kNoteOn = 0x9;
constexpr int kControlChange = 0xB;
constexpr int kProgramChange = 0xC;
constexpr int kPitchBend = 0xE;

struct ShortMessage {
  explicit ShortMessage(uint32_t word)
      : status(static_cast<int>(word & 0xFF)),
        type(status >> 4),
        data1(static_cast<int>((word >> 8) & 0xFF)),
        data2(static_cast<int>((word >> 16) & 0xFF)) {}
  // Channel messages only: system messages (0xF0 and above) and data bytes where a status belongs are not.
  bool IsChannelMessage() const { return status >= 0x80 && status < 0xF0; }
  // Note Off, or Note On with velocity 0.
  bool Released() const { return type == kNoteOff || data2 == 0; }
  int status;
  int type;
  int data1;
  int data2;
};

std::string DataLine(const MidiInMessage& message) {
  const ShortMessage input(message.param1);
  if (!input.IsChannelMessage()) return {};
  switch (input.type) {
    case kNoteOff:
    case kNoteOn: {
      std::string line =
          FormatMask("Canale:## Nota:### Vel:### OnOff:### ",
                     {(input.status & 0x0F) + 1, input.data1, input.data2, input.Released() ? 0 : 1});
      AppendNumberText(line, message.param2);
      line += " ms";
      return line;
    }
    case kControlChange:
      return "Controller Change" + NumberText(input.data2);
    case kProgramChange:
      return "Program Change " + NumberText(input.data1 + 1) + NumberText(input.status);
    case kPitchBend:
      return "Bender Change" + NumberText(input.data2);
    default:
      return {};
  }
}

}  // namespace

std::string MidiInMonitorLine(const MidiInMessage& message) {
  switch (message.kind) {
    case MidiInMessageKind::kOpened:
      return "open";
    case MidiInMessageKind::kClosed:
      return "close";
    case MidiInMessageKind::kData:
      return DataLine(message);
    case MidiInMessageKind::kLongData:
      return "longdata " + HexText(message.param1) + " " + HexText(message.param2);
    case MidiInMessageKind::kError:
      return "Errore!!! " + HexText(message.param1) + "/" + HexText(message.param2);
    case MidiInMessageKind::kLongError:
      return "longerror";
  }
  return "???";
}

void MidiInCallback(const MidiInTargets& targets, const MidiInMessage& message) {
  if (message.kind == MidiInMessageKind::kData) {
    const ShortMessage input(message.param1);
    if (!input.IsChannelMessage()) return;
    // The thru first: what the player hears should not wait for what is shown.
    targets.midi.Send(message.param1);
    if (input.type == kNoteOff || input.type == kNoteOn) {
      targets.shower.PaintInputKey(input.data1 + 1, input.Released() ? kRestoreKey : kMidiInKeyColour);
    } else if (input.type == kProgramChange && input.data1 < 128) {
      targets.shower.ShowInputProgram(input.data1);
    }
  }
  std::string line = MidiInMonitorLine(message);
  if (!line.empty()) targets.shower.ShowMonitorLine(std::move(line));
}

}  // namespace sonvela
