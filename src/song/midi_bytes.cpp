#include "song/midi_bytes.h"

#include <limits>

namespace sonvela {

std::optional<int32_t> ReadVarLen(std::string_view data, size_t& position) {
  constexpr int64_t kLargest = std::numeric_limits<int32_t>::max();
  int64_t value = 0;
  for (size_t at = position; at < data.size(); ++at) {
    const auto byte = static_cast<uint8_t>(data[at]);
    value = (value << 7) | (byte & 0x7F);
    if (value > kLargest) value = kLargest;
    if (byte < 0x80) {
      position = at;
      return static_cast<int32_t>(value);
    }
  }
  return std::nullopt;
}

uint64_t ReadBigEndian(std::string_view bytes) {
  uint64_t value = 0;
  for (char c : bytes) value = (value << 8) | static_cast<uint8_t>(c);
  return value;
}

std::string Bin8(uint8_t byte) {
  std::string digits(8, '0');
  for (int bit = 0; bit < 8; ++bit) {
    if (byte & (0x80 >> bit)) digits[static_cast<size_t>(bit)] = '1';
  }
  return digits;
}

void AppendVarLen(std::string& out, uint32_t value) {
  char groups[5];
  int count = 0;
  do {
    groups[count++] = static_cast<char>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (count > 1) out.push_back(static_cast<char>(groups[--count] | 0x80));
  out.push_back(groups[0]);
}

}  // namespace sonvela
