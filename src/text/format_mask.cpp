#include "text/format_mask.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sonvela {
namespace {

constexpr char kBlanks[] = "                ";

int DigitCount(uint64_t magnitude) {
  // Most numbers of a listing are small: a few compares instead of a division a digit.
  if (magnitude < 10) return 1;
  if (magnitude < 100) return 2;
  if (magnitude < 1000) return 3;
  int count = 4;
  for (uint64_t rest = magnitude / 10000; rest != 0; rest /= 10) ++count;
  return count;
}

// The digits of the magnitude, written backwards two at a time so that they end at `end`.
void WriteDigitsBefore(char* end, uint64_t magnitude) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  while (magnitude >= 100) {
    end -= 2;
    std::memcpy(end, kPairs + 2 * (magnitude % 100), 2);
    magnitude /= 100;
  }
  if (magnitude >= 10) {
    std::memcpy(end - 2, kPairs + 2 * magnitude, 2);
  } else {
    end[-1] = static_cast<char>('0' + magnitude);
  }
}

// The decimal digits of a magnitude and where its point stands: value = 0.digits x 10^pointPos.
struct Decimal {
  std::string digits;
  int pointPos = 0;
  bool negative = false;
};

Decimal ToDecimal(const MaskNumber& number) {
  Decimal d;
  if (number.isInteger) {
    d.negative = number.integer < 0;
    const uint64_t magnitude =
        d.negative ? 0 - static_cast<uint64_t>(number.integer) : static_cast<uint64_t>(number.integer);
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
    d.digits.assign(buffer, result.ptr);
    d.pointPos = static_cast<int>(d.digits.size());
    return d;
  }
  double value = number.real;
  if (!std::isfinite(value)) value = 0;
  d.negative = std::signbit(value) && value != 0;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17e", std::fabs(value));  // 18 significant digits
  // buffer: d.ddddddddddddddddde+XX
  const char* e = buffer;
  while (*e && *e != 'e') ++e;
  for (const char* p = buffer; p < e; ++p) {
    if (*p != '.') d.digits.push_back(*p);
  }
  d.pointPos = std::atoi(e + 1) + 1;
  return d;
}

// The value rounded to `decimals` places (ties to even) as an integer digit string scaled by 10^decimals.
std::string RoundScaled(const Decimal& d, int decimals) {
  const int keep = d.pointPos + decimals;
  const int length = static_cast<int>(d.digits.size());
  if (keep >= length) {
    return d.digits + std::string(static_cast<size_t>(keep - length), '0');
  }
  if (keep < 0) return "0";
  std::string kept = d.digits.substr(0, static_cast<size_t>(keep));
  const char first = d.digits[static_cast<size_t>(keep)];
  bool restNonZero = false;
  for (int i = keep + 1; i < length; ++i) {
    if (d.digits[static_cast<size_t>(i)] != '0') restNonZero = true;
  }
  const bool lastOdd = !kept.empty() && ((kept.back() - '0') % 2 == 1);
  const bool up = first > '5' || (first == '5' && (restNonZero || lastOdd));
  if (up) {
    int i = static_cast<int>(kept.size()) - 1;
    while (i >= 0 && kept[static_cast<size_t>(i)] == '9') kept[static_cast<size_t>(i--)] = '0';
    if (i < 0) {
      kept.insert(kept.begin(), '1');
    } else {
      ++kept[static_cast<size_t>(i)];
    }
  }
  return kept.empty() ? "0" : kept;
}

}  // namespace

Mask::Mask(std::string_view mask) {
  std::string literal;
  size_t i = 0;
  auto isFieldStart = [&](size_t at) {
    return mask[at] == '#' || (mask[at] == '.' && at + 1 < mask.size() && mask[at + 1] == '#');
  };
  while (i < mask.size()) {
    if (mask[i] == '_') {
      if (i + 1 < mask.size()) literal.push_back(mask[i + 1]);
      i += 2;
      continue;
    }
    if (!isFieldStart(i)) {
      literal.push_back(mask[i++]);
      continue;
    }
    Field field;
    field.literalBefore = std::move(literal);
    literal.clear();
    while (i < mask.size() && mask[i] == '#') {
      ++field.integerPositions;
      ++i;
    }
    if (i + 1 < mask.size() && mask[i] == '.' && mask[i + 1] == '#') {
      ++i;
      field.decimals = 0;
      while (i < mask.size() && mask[i] == '#') {
        ++field.decimals;
        ++i;
      }
    }
    field.width = field.integerPositions + (field.decimals >= 0 ? 1 + field.decimals : 0);
    fields_.push_back(std::move(field));
  }
  trailing_ = std::move(literal);
  // Literal k is the text before field k (k = 0) or after field k-1, padded for fixed-size copies.
  for (size_t k = 0; k <= fields_.size(); ++k) {
    const std::string& text = k < fields_.size() ? fields_[k].literalBefore : trailing_;
    std::string padded = text;
    padded.resize((text.size() / kLiteralChunk + 1) * kLiteralChunk, ' ');
    paddedLiterals_.push_back(std::move(padded));
    literalLengths_.push_back(text.size());
  }
  integerFieldsOnly_ = true;
  maxIntegerLength_ = trailing_.size();
  for (const Field& field : fields_) {
    integerFieldsOnly_ = integerFieldsOnly_ && field.decimals < 0;
    maxIntegerLength_ += field.literalBefore.size() + std::max<size_t>(static_cast<size_t>(field.width), 20);
  }
  maxIntegerLength_ += kLayOutSlack;
}

void Mask::AppendTo(std::string& out, std::initializer_list<MaskNumber> numbers) const {
  bool integersOnly = numbers.size() <= fields_.size();
  for (const MaskNumber& number : numbers) integersOnly = integersOnly && number.isInteger;
  if (integersOnly && integerFieldsOnly_) {
    AppendIntegers(out, numbers);
    return;
  }
  out += fields_.empty() ? trailing_ : fields_[0].literalBefore;
  size_t fieldIndex = 0;
  for (const MaskNumber& number : numbers) {
    if (fieldIndex >= fields_.size()) continue;  // no field left: the number is dropped
    AppendField(out, fields_[fieldIndex++], number);
    out += fieldIndex < fields_.size() ? fields_[fieldIndex].literalBefore : trailing_;
  }
}

// The common case, laid out in a stack buffer and appended at once: masks of integers run millions of
// times a load.
void Mask::AppendIntegers(std::string& out, std::initializer_list<MaskNumber> numbers) const {
  if (maxIntegerLength_ > kStackLine) {
    std::string wide(maxIntegerLength_, ' ');
    wide.resize(LayOutIntegers(wide.data(), numbers));
    out += wide;
    return;
  }
  char line[kStackLine];
  out.append(line, LayOutIntegers(line, numbers));
}

size_t Mask::LayOutIntegers(char* line, std::initializer_list<MaskNumber> numbers) const {
  // Fixed-size copies of padded literals and blanks: a handful of instructions where tiny variable
  // copies would cost a library call each. The bytes written past the result are scratch.
  char* p = line;
  auto copyLiteral = [&p](const std::string& padded, size_t length) {
    for (size_t at = 0; at < length; at += kLiteralChunk)
      std::memcpy(p + at, padded.data() + at, kLiteralChunk);
    p += length;
  };
  copyLiteral(paddedLiterals_[0], literalLengths_[0]);
  size_t fieldIndex = 0;
  for (const MaskNumber& number : numbers) {
    const Field& field = fields_[fieldIndex++];
    const uint64_t magnitude = number.integer < 0 ? 0 - static_cast<uint64_t>(number.integer)
                                                  : static_cast<uint64_t>(number.integer);
    const int count = (number.integer < 0 ? 1 : 0) + DigitCount(magnitude);
    for (int at = 0; at < field.width - count; at += kLiteralChunk)
      std::memcpy(p + at, kBlanks, kLiteralChunk);
    if (count < field.width) p += field.width - count;
    if (number.integer < 0) *p = '-';
    p += count;
    WriteDigitsBefore(p, magnitude);
    copyLiteral(paddedLiterals_[fieldIndex], literalLengths_[fieldIndex]);
  }
  return static_cast<size_t>(p - line);
}

void Mask::AppendField(std::string& out, const Field& field, const MaskNumber& number) {
  const int decimals = field.decimals < 0 ? 0 : field.decimals;
  const Decimal decimal = ToDecimal(number);
  std::string scaled = RoundScaled(decimal, decimals);
  const size_t nonZero = scaled.find_first_not_of('0');
  scaled.erase(0, nonZero == std::string::npos ? scaled.size() : nonZero);
  const bool isZero = scaled.empty();
  if (scaled.size() < static_cast<size_t>(decimals)) {
    scaled.insert(0, static_cast<size_t>(decimals) - scaled.size(), '0');
  }
  const size_t integerDigits = scaled.size() - static_cast<size_t>(decimals);
  std::string text;
  auto put = [&](char c) { text.push_back(c); };
  if (decimal.negative && !isZero) put('-');
  for (size_t i = 0; i < integerDigits; ++i) put(scaled[i]);
  if (integerDigits == 0 && field.integerPositions > 0) put('0');
  if (field.decimals >= 0) {
    put('.');
    for (size_t i = integerDigits; i < scaled.size(); ++i) put(scaled[i]);
  }
  if (text.size() < static_cast<size_t>(field.width))
    out.append(static_cast<size_t>(field.width) - text.size(), ' ');
  out += text;
}

std::string Mask::Format(std::initializer_list<MaskNumber> numbers) const {
  std::string out;
  AppendTo(out, numbers);
  return out;
}

std::string FormatMask(std::string_view mask, std::initializer_list<MaskNumber> numbers) {
  return Mask(mask).Format(numbers);
}

std::string FormatZeros(double number, std::string_view mask) {
  const auto value = static_cast<int64_t>(std::nearbyint(number));
  size_t positions = 0;
  std::string literal;
  for (char c : mask) {
    if (c == '0') {
      ++positions;
    } else {
      literal.push_back(c);
    }
  }
  std::string digits = std::to_string(value < 0 ? -value : value);
  if (digits.size() < positions) digits.insert(0, positions - digits.size(), '0');
  return (value < 0 ? "-" : "") + digits + literal;
}

}  // namespace sonvela
