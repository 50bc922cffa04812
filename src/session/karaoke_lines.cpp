#include "session/karaoke_lines.h"

#include <algorithm>
#include <iterator>

#include "player/song_time.h"
#include "session/lyric_line.h"
#include "song/lyric_pieces.h"

namespace sonvela {

namespace {

struct SungEvent {
  int64_t tick;
  const std::string* text;
};

// The events that sing, in song order: by tick, and at one tick track by track as they are played.
std::vector<SungEvent> SungEvents(const SongTables& t, bool fromLyricEvents) {
  const int32_t kind = fromLyricEvents ? kMetaLyric : kMetaText;
  const std::vector<std::string>& texts = fromLyricEvents ? t.TaggedTexts : t.TextEvents;
  std::vector<SungEvent> sung;
  for (int32_t track = 1; track <= t.TrackCount; ++track) {
    for (int32_t index = 1; index <= t.TrackEventCount(track); ++index) {
      const TrackEvent& event = t.Event(track, index);
      if (event.command == kind && event.data1 >= 0 && static_cast<size_t>(event.data1) < texts.size())
        sung.push_back({event.tick, &texts[static_cast<size_t>(event.data1)]});
    }
  }
  std::stable_sort(sung.begin(), sung.end(),
                   [](const SungEvent& a, const SungEvent& b) { return a.tick < b.tick; });
  return sung;
}

// Keeps a finished line and its syllables, unless it shows nothing.
void Finish(KaraokeLines& lines, std::string&& text, std::vector<KaraokeSyllable>& syllables) {
  if (!text.empty()) {
    const auto line = static_cast<int32_t>(lines.Lines.size());
    lines.Lines.push_back(std::move(text));
    for (KaraokeSyllable& syllable : syllables) {
      syllable.place.line = line;
      lines.Syllables.push_back(syllable);
    }
  }
  syllables.clear();
}

}  // namespace

KaraokeLines BuildKaraokeLines(const SongTables& tables) {
  const bool fromLyricEvents = SingsFromLyricEvents(tables);
  KaraokeLines lines;
  LyricLine line;
  LyricEventPieces lyricPieces;
  std::string piece;
  std::string finished;
  std::vector<KaraokeSyllable> syllables;  // of the line being built
  for (const SungEvent& event : SungEvents(tables, fromLyricEvents)) {
    std::string_view text = *event.text;
    if (fromLyricEvents) {
      lyricPieces.Take(text, piece);
      text = piece;
    }
    if (line.Add(text, &finished)) Finish(lines, std::move(finished), syllables);
    syllables.push_back({DueTimeOfTick(event.tick), {0, line.Text.size()}});
  }
  Finish(lines, std::move(line.Text), syllables);
  return lines;
}

KaraokePlace KaraokeLines::At(int64_t songPosition) const {
  if (Lines.empty()) return {};
  const auto next = std::upper_bound(
      Syllables.begin(), Syllables.end(), songPosition,
      [](int64_t position, const KaraokeSyllable& syllable) { return position < syllable.due; });
  if (next == Syllables.begin()) return {0, 0};
  return std::prev(next)->place;
}

std::string_view KaraokeLines::After(int32_t line) const {
  const auto next = static_cast<size_t>(line + 1);
  return line >= 0 && next < Lines.size() ? std::string_view(Lines[next]) : std::string_view();
}

}  // namespace sonvela
