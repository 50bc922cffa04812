#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "compose/compose_song.h"
#include "compose/event_line.h"
#include "compose/voice_events.h"
#include "compose/voice_text.h"
#include "golden.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"

namespace sonvela {
namespace {

// Every byte as two hex digits.
std::string HexDigits(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const char c : bytes) {
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 15];
  }
  return hex;
}

// The demonstration song byte for byte, and the log of its voices, against composed.golden
// (SONVELA_WRITE_GOLDEN=1 rewrites it from what the composer does now).
TEST(ComposeSong, BytesAndLogAreTheGoldenOnes) {
  Logs logs;
  const std::string bytes = ComposeSongBytes(logs);
  std::string hex, log;
  for (size_t at = 0; at < bytes.size(); at += 32) hex += HexDigits(bytes.substr(at, 32)) + "\n";
  for (const std::string& line : logs.Debug.ToVector()) log += HexDigits(line) + "\n";
  test::ExpectGolden("composed.golden", {{"bytes", hex}, {"log", log}});
}

TEST(ComposeSong, RewriteReplacesALongerFileAndAWriteFailureIsReported) {
  const test::TempFolder folder;
  folder.Write("creato.mid", std::string(100000, 'x'));
  Logs logs;
  RecordedMessages messages;
  ASSERT_TRUE(ComposeSong(folder.path.string(), logs, messages));
  EXPECT_TRUE(messages.shown.empty());
  std::ifstream in(folder.path / "creato.mid", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), ComposeSongBytes(logs));

  const std::string missing = (folder.path / "missing").string();
  EXPECT_FALSE(ComposeSong(missing, logs, messages));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find(missing + "/creato.mid"), std::string::npos);
  EXPECT_NE(messages.shown[0].find("No such file or directory"), std::string::npos);
}

TEST(VoiceText, TokensSetModeAndBlanksBecomeRests) {
  std::string text = "[AC]A B[AC]", mode;
  ParseVoiceText(text, mode);
  EXPECT_EQ(text, std::string("A\0B", 3));
  EXPECT_EQ(mode, "AC");
  text = "[AC]X[00]Y[00]";
  ParseVoiceText(text, mode);
  EXPECT_EQ(text, "XY");
  EXPECT_EQ(mode, "00") << "the third-down token wins";
}

TEST(VoiceEvents, MinimumsRestsAndOutOfRangeNotes) {
  const auto events = ComposeVoiceEvents(std::string("A\0O", 3), "00", 10, 0, 3);
  ASSERT_EQ(events.size(), 5u) << "a rest is one event, never doubled";
  EXPECT_EQ(events[1].note, 'A' - 3);
  EXPECT_EQ(events[2].note, 0);
  EXPECT_EQ(events[2].start, 50) << "steps below 50 count as 50";
  EXPECT_EQ(events[4].end, 120) << "lengths below 20 count as 20";
  // 't' + 12 = 128 and byte 200 are no notes, but the next character still waits its step.
  EXPECT_EQ(ComposeVoiceEvents("t", "AC", 50, 20, 0).size(), 1u);
  const auto high = ComposeVoiceEvents(std::string{'\xC8', 'A'}, "", 50, 20, 0);
  ASSERT_EQ(high.size(), 1u);
  EXPECT_EQ(high[0].start, 50);
}

TEST(EventLine, OctaveDoubledPairInTimeOrder) {
  std::string text = "[AC]AB", mode;
  ParseVoiceText(text, mode);
  std::vector<std::string> texts;
  for (const EventLine& line : SortedEventLines(ComposeVoiceEvents(text, mode, 50, 20, 0)))
    texts.push_back(line.text);
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "0000000000  on:nota 65 canale: 0", "0000000000  on:nota 77 canale: 0",
                       "0000000020 off:nota 65 canale: 0", "0000000020 off:nota 77 canale: 0",
                       "0000000050  on:nota 66 canale: 0", "0000000050  on:nota 78 canale: 0",
                       "0000000070 off:nota 66 canale: 0", "0000000070 off:nota 78 canale: 0"}));
}

TEST(EventLine, OrderingComparesTheText) {
  // A note ending at 100 and one starting there; notes 82 and 100 at 0; a late end at 1000.
  const auto lines =
      SortedEventLines({{60, 0, 100, 1}, {82, 0, 1000, 0}, {100, 0, 20, 0}, {61, 100, 120, 1}});
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0].note, 100) << "number text compares by character, so 100 comes before 82";
  EXPECT_EQ(lines[2].note, 82);
  EXPECT_TRUE(lines[4].noteOn) << "at equal time the Note On is first";
  EXPECT_EQ(lines[5].text, "0000000100 off:nota 60 canale: 1");
  EXPECT_EQ(lines[7].time, 1000) << "the fixed-width time orders 1000 after 120";
}

}  // namespace
}  // namespace sonvela
