#include "text/format_mask.h"

#include <gtest/gtest.h>

#include <climits>

#include "text/logs.h"
#include "text/number_text.h"

namespace sonvela {
namespace {

TEST(FormatMask, FieldsRoundAndWiden) {
  const std::string longLiteral(70, 'x');
  const std::pair<std::string, std::string> cases[] = {
      // Fields in order, right-aligned; numbers beyond the fields are dropped; "_" makes "#" literal.
      {FormatMask("tr=##/p=####/te=######/chn=##/", {1, 12, 480, 1}), "tr= 1/p=  12/te=   480/chn= 1/"},
      {FormatMask("Tempo:####.# s ", {3}), "Tempo:   3.0 s "},
      {FormatMask("##:##### ", {2, 1}), " 2:    1 "},
      {FormatMask("copy:", {3}), "copy:"},
      {FormatMask("a_#b##", {7}), "a#b 7"},
      // Each field rounds half to even; the carry widens it.
      {FormatMask(" ###.#_%/###.#_%/###.#_%/###.#_% ", {45.25, 45.26, 100, 0.5}),
       "  45.2%/ 45.3%/100.0%/  0.5% "},
      {FormatMask("#.#/#.#/#/#/##.#/.##/####.#", {0.25, 0.75, 2.5, 3.5, 99.96, 0.5, -2.25}),
       "0.2/0.8/2/4/100.0/.50/  -2.2"},
      // A number wider than its field widens it, never cut.
      {FormatMask("##/##/[##]/###/######d /##", {-5, -12, 1234, 0, int64_t{1} << 40, INT64_MIN}),
       "-5/-12/[1234]/  0/1099511627776d /-9223372036854775808"},
      {FormatMask("[" + std::string(40, '#') + "]", {5}), "[" + std::string(39, ' ') + "5]"},
      {FormatMask(longLiteral + "#" + longLiteral, {-1, 2}), longLiteral + "-1" + longLiteral},
      // Zeros padded to the count of "0"; a blank before values >= 0; decimals with up to 15 digits, whole
      // ones without a point; hex of the low byte.
      {FormatZeros(60, "000 ") + FormatZeros(6.6, "000 ") + FormatZeros(1234, "0000000000"),
       "060 007 0000001234"},
      {NumberText(59) + "|" + NumberText(0) + "|" + NumberText(-3) + "|" + NumberTextNoBlank(59),
       " 59| 0|-3|59"},
      {DecimalText(12.5) + "|" + DecimalText(120.0) + "|" + DecimalText(1.0 / 3),
       " 12.5| 120| 0.333333333333333"},
      {HexByte(0x13C) + "|" + HexByte(-1) + "|" + HexText(480), "3C|FF|1E0"}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(text, expected);
}

TEST(Logs, MessagesSplitAtLineBreaksSkippingBlankPiecesDebugLinesStayWholeAndResetEmpties) {
  Logs logs;
  MessageLog(logs, "  first \r\n   \r\nlast  ");
  MessageLog(logs, "reset");
  EXPECT_EQ(logs.Messages.ToVector(), (std::vector<std::string>{"  first ", "last  ", "reset"}));
  MessageLog(logs, "RESET");
  EXPECT_TRUE(logs.Messages.Empty());
  DebugLog(logs, "");
  DebugLog(logs, "a\r\nb");
  EXPECT_EQ(logs.Debug.ToVector(), (std::vector<std::string>{"", "a\r\nb"}));
  DebugLog(logs, "RESET");
  EXPECT_EQ(logs.Debug.Size(), 0u);
}

}  // namespace
}  // namespace sonvela
