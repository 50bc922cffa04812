#pragma once
// Numbers into fixed columns: a mask is literal text with numeric fields marked by "#".
// "##" is a field of width 2, "###.#" one with a decimal, "_" makes the next character literal.
// A number wider than its field widens it; nothing is ever cut.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace sonvela {

// A number for a mask: integers are formatted exactly, other values from 18 significant digits.
struct MaskNumber {
  MaskNumber(int value) : isInteger(true), integer(value) {}
  MaskNumber(long value) : isInteger(true), integer(value) {}
  MaskNumber(long long value) : isInteger(true), integer(value) {}
  MaskNumber(unsigned value) : isInteger(true), integer(value) {}
  MaskNumber(unsigned long value) : isInteger(true), integer(static_cast<int64_t>(value)) {}
  MaskNumber(double value) : isInteger(false), real(value) {}
  bool isInteger;
  int64_t integer = 0;
  double real = 0;
};

// A mask parsed once, for lines written millions of times.
class Mask {
 public:
  explicit Mask(std::string_view mask);
  void AppendTo(std::string& out, std::initializer_list<MaskNumber> numbers) const;
  std::string Format(std::initializer_list<MaskNumber> numbers) const;

  // For lines built in a buffer: a mask whose fields are all integer fields, given integers, lays out
  // its text at `line` and returns its length. It may write up to MaxIntegerLength() bytes there.
  size_t LayOutIntegers(char* line, std::initializer_list<MaskNumber> numbers) const;
  size_t MaxIntegerLength() const { return maxIntegerLength_; }

 private:
  struct Field {
    std::string literalBefore;
    int integerPositions = 0;
    int decimals = -1;  // -1: no point
    int width = 0;
  };
  static void AppendField(std::string& out, const Field& field, const MaskNumber& number);
  void AppendIntegers(std::string& out, std::initializer_list<MaskNumber> numbers) const;
  static constexpr size_t kStackLine = 256;
  std::vector<Field> fields_;
  static constexpr size_t kLiteralChunk = 16;
  static constexpr size_t kLayOutSlack = 2 * kLiteralChunk;
  std::vector<std::string> paddedLiterals_;  // literal k: before field k, the last after the last field
  std::vector<size_t> literalLengths_;
  bool integerFieldsOnly_ = true;
  size_t maxIntegerLength_ = 0;  // the longest text integers can give
  std::string trailing_;         // literal text after the last field
};

std::string FormatMask(std::string_view mask, std::initializer_list<MaskNumber> numbers);
// The number rounded to an integer, padded with leading zeros to the count of "0" in the mask,
// followed by the mask's other characters ("000 " with 7 gives "007 ").
std::string FormatZeros(double number, std::string_view mask);

}  // namespace sonvela
