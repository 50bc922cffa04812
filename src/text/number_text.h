#pragma once
// The number forms of every report line: "number text" puts a blank before values >= 0.

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace sonvela {

// " 59" for 59, "-3" for -3.
std::string NumberText(int64_t value);
// "59" for 59, "-3" for -3.
std::string NumberTextNoBlank(int64_t value);
// A non-integer value with up to 15 significant digits (" 12.5"); integral values print as integers.
std::string DecimalText(double value);
// The low byte of a value as exactly two upper-case hex digits.
std::string HexByte(int64_t value);

inline void AppendNumberTextNoBlank(std::string& out, int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}
inline void AppendNumberText(std::string& out, int64_t value) {
  char buffer[24];
  buffer[0] = ' ';
  const auto result = std::to_chars(buffer + 1, buffer + sizeof buffer, value);
  out.append(value >= 0 ? buffer : buffer + 1, result.ptr);
}
inline void AppendHexByte(std::string& out, int64_t value) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  const auto byte = static_cast<uint8_t>(value & 0xFF);
  const char digits[2] = {kDigits[byte >> 4], kDigits[byte & 0x0F]};
  out.append(digits, 2);
}
// Upper-case hexadecimal without leading zeros ("1E0").
std::string HexText(uint64_t value);

}  // namespace sonvela
