#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "compose/compose_song.h"
#include "compose/event_line.h"
#include "compose/voice_events.h"
#include "compose/voice_text.h"
#include "song/midi_bytes.h"
#include "support/fake_ports.h"
#include "support/temp_folder.h"

namespace sonvela {
namespace {

TEST(ComposeSong, FileParsesBack) {
  Logs logs;
  const std::string bytes = ComposeSongBytes(logs);
  EXPECT_EQ(bytes.substr(0, 18), std::string("MThd\0\0\0\x06\0\0\0\x01\0\x78MTrk", 18));
  EXPECT_EQ(ReadBigEndian(std::string_view(bytes).substr(18, 4)), bytes.size() - 22);
  const std::string lead = std::string("\0\xFF\x58\x04\x04\x02\x18\x08\0\xFF\x51\x03\x07\xA1\x20", 15) +
                           std::string("\0\xFF\x04\x0BLuglio 2004\0\xFF\x01\x17", 19) +
                           "Quarzani Teodolfo fecit" +
                           std::string("\0\xC0\x52\0\xC1\x4B\0\xC2\x4B\0\xC3\x37\0\xC5\x13", 15);
  EXPECT_EQ(bytes.substr(22, lead.size()), lead);
  EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string("\0\xFF\x2F\0", 4));
  size_t at = 22 + lead.size();
  // The first line sorts as "0000000000  on:nota 0 canale: 3": voice 4's leading rest, at delta 0.
  EXPECT_EQ(bytes.substr(at, 4), std::string("\0\x93\0\x7F", 4));
  int ons = 0, offs = 0;
  int64_t time = 0, lastOffTime = -1;
  std::set<int> channels;
  for (; at < bytes.size() - 4; at += 4) {
    time += ReadVarLen(bytes, at).value_or(-1000000);
    const auto status = static_cast<uint8_t>(bytes[at + 1]) & 0xF0;
    ASSERT_TRUE(status == 0x90 || status == 0x80) << "at byte " << at;
    ASSERT_LT(static_cast<uint8_t>(bytes[at + 2]), 0x80);
    channels.insert(bytes[at + 1] & 0x0F);
    ASSERT_EQ(static_cast<uint8_t>(bytes[at + 3]), status == 0x90 ? 127 : 0);
    if (status == 0x90) {
      ASSERT_NE(time, lastOffTime) << "a Note On after a Note Off at tick " << time;
      ++ons;
    } else {
      lastOffTime = time;
      ++offs;
    }
  }
  EXPECT_EQ(at, bytes.size() - 4);
  // 170 + 300 + 380 + 340 + 60 + 100 + 100 + 150 events in voices 1, 2, 3, 4, 6, 10, 11, 12.
  EXPECT_EQ(ons, 1600);
  EXPECT_EQ(offs, ons);
  EXPECT_EQ(channels, (std::set<int>{0, 1, 2, 3, 5, 9})) << "percussion voices all play on index 9";
  EXPECT_EQ(time, 99 * 200 + 20) << "the song ends with the last note of voice 10";
  ASSERT_EQ(logs.Debug.Size(), 16u);
  EXPECT_EQ(logs.Debug[3].substr(0, 21), std::string(20, '\0') + "O") << "voices are logged after parsing";
  EXPECT_EQ(logs.Debug[4], "");
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
