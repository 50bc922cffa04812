#include "compose/composed_file.h"

#include <string_view>

#include "song/midi_bytes.h"

namespace sonvela {
namespace {

constexpr int kTicksPerQuarter = 120;
constexpr int kBeatsPerMinute = 120;
constexpr std::string_view kInstrumentName = "Luglio 2004";
constexpr std::string_view kText = "Quarzani Teodolfo fecit";
constexpr uint8_t kVelocityOn = 127;

void AppendByte(std::string& out, unsigned value) {
  out.push_back(static_cast<char>(value & 0xFF));
}

void AppendBigEndian(std::string& out, uint32_t value, int byteCount) {
  for (int shift = 8 * (byteCount - 1); shift >= 0; shift -= 8) AppendByte(out, value >> shift);
}

// The texts are short constants, so their lengths fit the one length byte.
void AppendTextMeta(std::string& track, unsigned kind, std::string_view text) {
  track += std::string_view("\x00\xFF", 2);
  AppendByte(track, kind);
  AppendByte(track, static_cast<unsigned>(text.size()));
  track += text;
}

}  // namespace

std::string ComposedFileBytes(const std::vector<ProgramChange>& programs,
                              const std::vector<EventLine>& lines) {
  std::string track;
  // 4/4, 24 MIDI clocks per click, 8 32nd notes per quarter.
  track += std::string_view("\x00\xFF\x58\x04\x04\x02\x18\x08", 8);
  track += std::string_view("\x00\xFF\x51\x03", 4);
  AppendBigEndian(track, 60000000 / kBeatsPerMinute, 3);
  AppendTextMeta(track, 0x04, kInstrumentName);
  AppendTextMeta(track, 0x01, kText);
  for (const ProgramChange& change : programs) {
    AppendByte(track, 0);
    AppendByte(track, 0xC0 + static_cast<unsigned>(change.channel));
    AppendByte(track, static_cast<unsigned>(change.program));
  }
  int64_t previous = 0;
  for (const EventLine& line : lines) {
    // The lines are in time order, so the delta is never negative.
    AppendVarLen(track, static_cast<uint32_t>(line.time - previous));
    previous = line.time;
    AppendByte(track, (line.noteOn ? 0x90u : 0x80u) + static_cast<unsigned>(line.channel));
    AppendByte(track, static_cast<unsigned>(line.note));
    AppendByte(track, line.noteOn ? kVelocityOn : 0);
  }
  track += std::string_view("\x00\xFF\x2F\x00", 4);

  std::string file = "MThd";
  AppendBigEndian(file, 6, 4);
  AppendBigEndian(file, 0, 2);  // format 0
  AppendBigEndian(file, 1, 2);  // one track
  AppendBigEndian(file, kTicksPerQuarter, 2);
  file += "MTrk";
  AppendBigEndian(file, static_cast<uint32_t>(track.size()), 4);
  return file + track;
}

}  // namespace sonvela
