#include "text/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace sonvela {

std::string NumberText(int64_t value) {
  std::string out;
  AppendNumberText(out, value);
  return out;
}

std::string NumberTextNoBlank(int64_t value) {
  std::string out;
  AppendNumberTextNoBlank(out, value);
  return out;
}

std::string DecimalText(double value) {
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
    return NumberText(static_cast<int64_t>(value));
  }
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  std::string out;
  if (!std::signbit(value)) out.push_back(' ');
  out += buffer;
  return out;
}

std::string HexByte(int64_t value) {
  std::string out;
  AppendHexByte(out, value);
  return out;
}

std::string HexText(uint64_t value) {
  char buffer[20];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
  std::string out(buffer, result.ptr);
  for (char& c : out) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace sonvela
