#pragma once
// The number forms of every report line: "number text" puts a blank before values >= 0.

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

void AppendNumberText(std::string& out, int64_t value);
void AppendNumberTextNoBlank(std::string& out, int64_t value);
void AppendHexByte(std::string& out, int64_t value);
// Upper-case hexadecimal without leading zeros ("1E0").
std::string HexText(uint64_t value);

}  // namespace sonvela
