#include "player/instrument_names.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace sonvela {
namespace {

TEST(InstrumentNames, HoldsTheGeneralMidiProgramsEachLedByItsNumber) {
  for (int program = 0; program < kInstrumentCount; ++program) {
    const std::string_view name = InstrumentNames(program);
    const std::string number = std::to_string(program + 1) + " ";
    ASSERT_TRUE(name.starts_with(number)) << name;
    EXPECT_GT(name.size(), number.size()) << name;
  }
  EXPECT_EQ(InstrumentNames(0), "1 Acoustic Grand");
  EXPECT_EQ(InstrumentNames(18), "19 Rock Organ");
  EXPECT_EQ(InstrumentNames(40), "41 Violin");
  EXPECT_EQ(InstrumentNames(80), "81 Lead 1 (square)");
  EXPECT_EQ(InstrumentNames(103), "104 FX 8 (sci-fi)");
  EXPECT_EQ(InstrumentNames(127), "128 Gunshot");
}

TEST(InstrumentNames, KeepsTheirOwnSpellings) {
  const std::pair<int, std::string_view> spellings[] = {
      {1, "1 Acoustic Grand"},
      {2, "2 Bright Acoustic"},
      {3, "3 Electric Grand"},
      {4, "4 Honky-Tonk"},
      {8, "8 Clav"},
      {22, "22 Accoridan"},
      {24, "24 Tango Accordian"},
      {25, "25 Acoustic Guitar(nylon)"},
      {26, "26 Acoustic Guitar(steel)"},
      {27, "27 Electric Guitar(jazz)"},
      {28, "28 Electric Guitar(clean)"},
      {29, "29 Electric Guitar(muted)"},
      {32, "32 Guitar Harmonics"},
      {34, "34 Electric Bass(finger)"},
      {35, "35 Electric Bass(pick)"},
      {47, "47 Orchestral Strings"},
      {66, "66 Sax"},
      {78, "78 Skakuhachi"},
      {88, "88 Lead 8 (bass+lead)"},
      {110, "110 Bagpipe"},
  };
  for (const auto& [number, text] : spellings) EXPECT_EQ(InstrumentNames(number - 1), text);
}

TEST(InstrumentNames, ProgramsPastTheTableHaveNoName) {
  EXPECT_TRUE(InstrumentNames(128).empty());
  EXPECT_TRUE(InstrumentNames(kInstrumentNameSlots - 1).empty());
  EXPECT_TRUE(InstrumentNames(-1).empty());
  EXPECT_TRUE(InstrumentNames(kInstrumentNameSlots).empty());
}

}  // namespace
}  // namespace sonvela
