#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "compose/compose_song.h"
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

}  // namespace
}  // namespace sonvela
