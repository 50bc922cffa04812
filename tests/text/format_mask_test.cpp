#include "text/format_mask.h"

#include <gtest/gtest.h>

#include <climits>

#include "text/logs.h"
#include "text/number_text.h"

namespace sonvela {
namespace {

TEST(FormatMask, FillsFieldsInOrderRightAligned) {
  EXPECT_EQ(FormatMask("tr=##/p=####/te=######/chn=##/", {1, 12, 480, 1}), "tr= 1/p=  12/te=   480/chn= 1/");
  EXPECT_EQ(FormatMask("Tempo:####.# s ", {3}), "Tempo:   3.0 s ");
  EXPECT_EQ(FormatMask("##:##### ", {2, 1}), " 2:    1 ");
}

TEST(FormatMask, RoundsDecimalsHalfToEven) {
  EXPECT_EQ(FormatMask(" ###.#_% ", {45.25}), "  45.2% ");
  EXPECT_EQ(FormatMask(" ###.#_% ", {45.26}), "  45.3% ");
  EXPECT_EQ(FormatMask(" ###.#_% ", {100}), " 100.0% ");
  EXPECT_EQ(FormatMask(" ###.#_% ", {0.5}), "   0.5% ");
  EXPECT_EQ(FormatMask("#.#", {0.25}), "0.2");
  EXPECT_EQ(FormatMask("#.#", {0.75}), "0.8");
  EXPECT_EQ(FormatMask("#", {2.5}), "2");
  EXPECT_EQ(FormatMask("#", {3.5}), "4");
  EXPECT_EQ(FormatMask("##.#", {99.96}), "100.0");  // the carry widens the field
  EXPECT_EQ(FormatMask(".##", {0.5}), ".50");
  EXPECT_EQ(FormatMask("####.#", {-2.25}), "  -2.2");
}

TEST(FormatMask, WidensInsteadOfCutting) {
  EXPECT_EQ(FormatMask("##", {-5}), "-5");
  EXPECT_EQ(FormatMask("##", {-12}), "-12");
  EXPECT_EQ(FormatMask("##", {1234}), "1234");
  EXPECT_EQ(FormatMask("[##]", {1234}), "[1234]");
  EXPECT_EQ(FormatMask("###", {0}), "  0");
  EXPECT_EQ(FormatMask("######d ", {int64_t{1} << 40}), "1099511627776d ");
  EXPECT_EQ(FormatMask("[" + std::string(40, '#') + "]", {5}), "[" + std::string(39, ' ') + "5]");
  EXPECT_EQ(FormatMask("##", {INT64_MIN}), "-9223372036854775808");
  const std::string longLiteral(70, 'x');
  EXPECT_EQ(FormatMask(longLiteral + "#" + longLiteral, {-1, 2}), longLiteral + "-1" + longLiteral);
}

TEST(FormatMask, MaskWithoutFieldDropsTheNumber) {
  EXPECT_EQ(FormatMask("copy:", {3}), "copy:");
  EXPECT_EQ(FormatMask("a_#b##", {7}), "a#b 7");
}

TEST(FormatZeros, PadsWithZeros) {
  EXPECT_EQ(FormatZeros(60, "000 "), "060 ");
  EXPECT_EQ(FormatZeros(6.6, "000 "), "007 ");
  EXPECT_EQ(FormatZeros(1234, "0000000000"), "0000001234");
}

TEST(NumberText, BlankBeforeNonNegative) {
  EXPECT_EQ(NumberText(59), " 59");
  EXPECT_EQ(NumberText(0), " 0");
  EXPECT_EQ(NumberText(-3), "-3");
  EXPECT_EQ(NumberTextNoBlank(59), "59");
  EXPECT_EQ(DecimalText(12.5), " 12.5");
  EXPECT_EQ(DecimalText(120.0), " 120");
  EXPECT_EQ(DecimalText(1.0 / 3), " 0.333333333333333");
  EXPECT_EQ(HexByte(0x13C), "3C");
  EXPECT_EQ(HexByte(-1), "FF");
  EXPECT_EQ(HexText(480), "1E0");
}

TEST(MessageLog, SplitsAtLineBreaksAndSkipsBlankPieces) {
  Logs logs;
  MessageLog(logs, "  first \r\n   \r\nlast  ");
  EXPECT_EQ(logs.Messages.ToVector(), (std::vector<std::string>{"  first ", "last  "}));
  MessageLog(logs, "reset");
  EXPECT_EQ(logs.Messages.Back(), "reset");
  MessageLog(logs, "RESET");
  EXPECT_TRUE(logs.Messages.Empty());
}

TEST(DebugLog, KeepsEveryLineAndResets) {
  Logs logs;
  DebugLog(logs, "");
  DebugLog(logs, "a\r\nb");
  EXPECT_EQ(logs.Debug.ToVector(), (std::vector<std::string>{"", "a\r\nb"}));
  DebugLog(logs, "RESET");
  EXPECT_EQ(logs.Debug.Size(), 0u);
}

}  // namespace
}  // namespace sonvela
