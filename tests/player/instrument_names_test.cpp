#include "player/instrument_names.h"

#include <gtest/gtest.h>

#include <string>

namespace sonvela {
namespace {

// Each name is led by its program number; the table keeps its own spellings; other programs have none.
TEST(InstrumentNames, NumberedGeneralMidiNamesInTheirOwnSpellingsAndNoneBeyond) {
  for (int program = 0; program < kInstrumentCount; ++program) {
    const std::string number = std::to_string(program + 1) + " ";
    ASSERT_TRUE(InstrumentNames(program).starts_with(number)) << InstrumentNames(program);
    EXPECT_GT(InstrumentNames(program).size(), number.size()) << program;
  }
  for (const char* name :
       {"1 Acoustic Grand", "22 Accoridan", "24 Tango Accordian", "25 Acoustic Guitar(nylon)", "66 Sax",
        "78 Skakuhachi", "88 Lead 8 (bass+lead)", "128 Gunshot"})
    EXPECT_EQ(InstrumentNames(std::stoi(name) - 1), name);
  for (int program : {-1, 128, kInstrumentNameSlots})
    EXPECT_TRUE(InstrumentNames(program).empty()) << program;
}

}  // namespace
}  // namespace sonvela
