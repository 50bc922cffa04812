// Song texts in the charsets karaoke files come in, written as real files carry them: syllables in Text
// events, "/" and "\" starting lines (and "\" bytes inside double-byte characters: 表, ソ, 許), the title in
// the same charset.

#include "platform/text_decoder.h"

#include <gtest/gtest.h>

#include <random>

#include "session/lyric_line.h"
#include "song/test_support.h"
#include "text/charsets.h"

namespace sonvela {
namespace {

using namespace test;

std::string Encoded(const std::string& utf8, const std::string& charset) {
  return CharsetConverter::Open("UTF-8", charset)->Convert(utf8);
}

// A karaoke song: each line's words are syllables (a blank starts a new one), the first of a line marked
// "/" (the first of all "\"), the first line also the title in the track name; all in `charset`.
std::string KaraokeSong(const std::vector<std::string>& lines, const std::string& charset) {
  std::string track = Meta(0, kMetaTrackName, Encoded(lines[0], charset));
  for (const std::string& line : lines) {
    std::string mark = &line == &lines[0] ? "\\" : "/";
    for (size_t at = 0, end = 0; at < line.size(); at = end, mark.clear()) {
      end = std::min(line.find(' ', at + 1), line.size());
      track += Meta(24, kMetaText, mark + Encoded(line.substr(at, end - at), charset));
    }
  }
  return Header(0, 1, 96) + Track(track + kEndOfTrack);
}

// What the lyric line shows of the song: its finished lines and the last one, decoded.
std::vector<std::string> ShownLines(const LoadedSong& song, const TextDecoder& texts) {
  std::vector<std::string> shown;
  LyricLine line;
  std::string finished;
  for (size_t i = 1; i < song.tables().TextEvents.size(); ++i) {
    if (line.Add(song.tables().TextEvents[i], &finished) && !finished.empty())
      shown.push_back(texts.Decode(finished));
  }
  shown.push_back(texts.Decode(line.Text));
  return shown;
}

TEST(TextDecoder, DetectsEachSongsCharsetOverAllItsTextsAndShowsTheLinesWhole) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> songs = {
      {"WINDOWS-1251",
       {"Пусть всегда будет солнце,", "пусть всегда будет небо,", "пусть всегда будет мама,"}},
      {"KOI8-R", {"Пусть всегда будет солнце,", "пусть всегда будет небо"}},
      {"CP932", {"さくら さくら", "やよいの空は 見わたす限り", "表はソラ かすみか雲か"}},
      {"EUC-JP", {"さくら さくら", "やよいの空は 見わたす限り", "かすみか雲か"}},
      {"GB18030", {"月亮代表我的心", "你问我爱你有多深", "我爱你有几分"}},
      {"CP950", {"月亮代表我的心", "你問我愛你有多深", "許我愛你有幾分"}},
      {"CP949", {"아리랑 아리랑 아라리요", "아리랑 고개로 넘어간다", "나를 버리고 가시는 님은"}},
      {"ISO-8859-7", {"Σαν πας στο δρόμο για την Ιθάκη,", "να εύχεσαι να 'ναι μακρύς"}},
      {"WINDOWS-1255", {"הבה נגילה הבה נגילה", "הבה נגילה ונשמחה"}},
      {"CP874", {"ช้าง ช้าง ช้าง", "น้องเคยเห็นช้างหรือเปล่า", "ช้างมันตัวโตไม่เบา"}},
      {"WINDOWS-1252",
       {"Stille Nacht, heilige Nacht,", "alles schläft, einsam wacht", "nur das traute hochheilige Paar."}},
      {"WINDOWS-1254", {"Korkma, sönmez bu şafaklarda yüzen al sancak;"}},
      {"UTF-8", {"Nel blu dipinto di blu,", "felice di stare lassù"}},
  };
  for (const auto& [charset, lines] : songs) {
    SCOPED_TRACE(charset);
    LoadedSong song;
    test::Load(song, KaraokeSong(lines, charset), "song.kar");
    TextDecoder texts;
    texts.Follow(song.tables());
    EXPECT_EQ(ShownLines(song, texts), lines);
    // Valid UTF-8 is left out of the detection, so nothing is detected: the fallback.
    EXPECT_EQ(texts.InUse(), charset == "UTF-8" ? "WINDOWS-1252" : charset);
    EXPECT_EQ(texts.Decode(song.tables().TaggedTexts[1]), "Sq/Na  1:" + lines[0]);
  }
}

TEST(TextDecoder, FollowsEachLoadOrTheChosenCharsetAndKeepsUtf8TextsOfAMixedSong) {
  LoadedSong song;
  TextDecoder texts;
  texts.Follow(song.tables());
  // A UTF-8 title over Windows-1251 lyrics: each text shows in its own charset.
  test::Load(song, KaraokeSong({"Пусть всегда будет солнце,", "пусть всегда будет небо"}, "WINDOWS-1251"));
  song.document.Tables.TaggedTexts[1] = "Sq/Na  1:Città – “Солнце”";
  EXPECT_EQ(texts.Decode(song.tables().TaggedTexts[1]), "Sq/Na  1:Città – “Солнце”");
  EXPECT_EQ(ShownLines(song, texts)[1], "пусть всегда будет небо");
  // A chosen charset decodes every text; an unknown one changes nothing; "Automatico" detects again.
  for (const auto& [name, converter, line] : std::vector<std::tuple<std::string, std::string, std::string>>{
           {"koi8_r", "KOI8-R", "оСЯРЭ БЯЕЦДЮ АСДЕР ЯНКМЖЕ,"},
           {"Windows-1252", "WINDOWS-1252", "Ïóñòü âñåãäà áóäåò ñîëíöå,"},
           {"no such charset", "WINDOWS-1252", "Ïóñòü âñåãäà áóäåò ñîëíöå,"},
           {"Automatico", "Automatico", "Пусть всегда будет солнце,"},
       }) {
    SCOPED_TRACE(name);
    EXPECT_EQ(texts.Choose(name), name != "no such charset");
    EXPECT_EQ(texts.Chosen(), converter);
    EXPECT_EQ(ShownLines(song, texts)[0], line);
  }
  // Each load detects again, over its own texts; a long song is told from its first texts, and its last line
  // shows as well as its first; too little text to tell: Windows-1252.
  const std::vector<std::string> verse(600, "пусть всегда будет небо,");
  for (const auto& [lines, charset, inUse, last] :
       std::vector<std::tuple<std::vector<std::string>, std::string, std::string, std::string>>{
           {{"さくら さくら", "やよいの空は 見わたす限り"}, "CP932", "CP932", "やよいの空は 見わたす限り"},
           {verse, "WINDOWS-1251", "WINDOWS-1251", verse.back()},
           {{"Да"}, "WINDOWS-1251", "WINDOWS-1252", "Äà"},
       }) {
    test::Load(song, KaraokeSong(lines, charset));
    EXPECT_EQ(texts.InUse(), inUse);
    EXPECT_EQ(ShownLines(song, texts).back(), last);
  }
}

TEST(TextDecoder, BadBytesShowAsReplacementsAndTheRestStillShows) {
  TextDecoder texts;
  for (const auto& [charset, bytes, shown] : std::vector<std::tuple<std::string, std::string, std::string>>{
           {"utf-8", "Città \xE0!", "Città \uFFFD!"},  // even in a text that is UTF-8 elsewhere
           {"Shift_JIS", Encoded("さくら", "CP932") + "\x82", "さくら\uFFFD"},  // cut off at the end
           {"Shift_JIS", "\xFF" + Encoded("空", "CP932"), "\uFFFD空"},
           {"EUC-KR", "a\xC9 b", "a\uFFFD b"},
       }) {
    ASSERT_TRUE(texts.Choose(charset));
    EXPECT_EQ(texts.Decode(bytes), shown) << charset;
  }
  // Whatever the bytes, each charset gives valid UTF-8 that begins with the text's leading ASCII (but for
  // its last letter, which a Vietnamese tone mark may join), and a text reads the same whatever was read
  // before it.
  std::mt19937 random(7);
  std::string before;
  for (const CharsetChoice& charset : CommonCharsets()) {
    ASSERT_TRUE(texts.Choose(charset.Label));
    for (int i = 0; i < 300; ++i) {
      std::string bytes(random() % 40, '\0');
      for (char& c : bytes) c = static_cast<char>(random() % 2 ? 'a' + random() % 26 : random() % 256);
      const std::string shown = texts.Decode(bytes);
      ASSERT_TRUE(IsUtf8(shown)) << charset.Label;
      const auto ascii = std::max<ptrdiff_t>(
          std::find_if(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; }) - bytes.begin() - 1, 0);
      EXPECT_EQ(shown.substr(0, static_cast<size_t>(ascii)), bytes.substr(0, static_cast<size_t>(ascii)));
      texts.Decode(before);
      EXPECT_EQ(texts.Decode(bytes), shown) << charset.Label;
      before = bytes;
    }
  }
}

}  // namespace
}  // namespace sonvela
