#pragma once
// Builds Standard MIDI File bytes for tests.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "song/midi_bytes.h"

namespace sonvela::test {

inline std::string Bytes(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out.push_back(static_cast<char>(b));
  return out;
}

inline std::string BigEndian(uint32_t value, int width) {
  std::string out;
  for (int i = width - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}

inline std::string Header(int format, int tracks, int division) {
  return "MThd" + BigEndian(6, 4) + BigEndian(static_cast<uint32_t>(format), 2) +
         BigEndian(static_cast<uint32_t>(tracks), 2) + BigEndian(static_cast<uint32_t>(division), 2);
}

inline std::string Track(std::string_view data) {
  return "MTrk" + BigEndian(static_cast<uint32_t>(data.size()), 4) + std::string(data);
}

inline std::string Delta(uint32_t ticks) {
  std::string out;
  AppendVarLen(out, ticks);
  return out;
}

// A meta event with its delta: delta, FF, kind, length VLQ, data.
inline std::string Meta(uint32_t delta, int kind, std::string_view data) {
  std::string out = Delta(delta) + Bytes({0xFF, kind});
  AppendVarLen(out, static_cast<uint32_t>(data.size()));
  return out + std::string(data);
}

inline const std::string kEndOfTrack = Bytes({0x00, 0xFF, 0x2F, 0x00});

}  // namespace sonvela::test
