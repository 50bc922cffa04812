#include "song/event_table.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "song/song_document.h"
#include "text/format_mask.h"
#include "text/number_text.h"

namespace sonvela {
namespace {

constexpr int32_t kGridRows = 100;
constexpr size_t kFirstEventItem = 1 + kGridRows + 1;  // rule, grid, rule

void AppendGridRow(std::string& line, const SongTables& t, int32_t row) {
  static const Mask kRowMask("###");
  static const Mask kTrackMask("##>");
  static const Mask kGridTickMask("######d ");
  kRowMask.AppendTo(line, {row});
  for (int32_t track = 1; track <= t.TrackCount; ++track) {
    // A track with fewer events shows its empty slots: tick 0, 00 00.
    const TrackEvent event = row <= t.TrackEventCount(track) ? t.Event(track, row) : TrackEvent{};
    line.push_back(kEventTableSeparator);
    kTrackMask.AppendTo(line, {track});
    kGridTickMask.AppendTo(line, {event.tick});
    AppendHexByte(line, event.command);
    line.push_back(' ');
    AppendHexByte(line, event.data1);
  }
  line.push_back(kEventTableSeparator);
}

// " 1: 9\x05     15d  &H91 &H3C &H64", then `end` when it is not 0. There is an item for every event of
// the song, so it is laid out in a buffer and appended at once.
void AppendEventItem(std::string& out, const TrackEvent& event, int32_t track, int32_t index, char end = 0) {
  static const Mask kTickMask(" ######d ");
  // Two number texts of 32-bit values (12 bytes each), ':', the separator, the tick mask, three " &HXX".
  char line[256];
  char* p = line;
  auto putNumberText = [&p](int32_t value) {
    if (value >= 0) *p++ = ' ';
    p = std::to_chars(p, p + 12, value).ptr;
  };
  putNumberText(track);
  *p++ = ':';
  putNumberText(index);
  *p++ = kEventTableSeparator;
  p += kTickMask.LayOutIntegers(p, {event.tick});
  for (const int32_t value : {event.command, event.data1, event.data2}) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::memcpy(p, " &H", 3);
    p[3] = kDigits[(value >> 4) & 0x0F];
    p[4] = kDigits[value & 0x0F];
    p += 5;
  }
  if (end != 0) *p++ = end;
  out.append(line, static_cast<size_t>(p - line));
}

}  // namespace

void EventTableList::Clear() {
  *this = EventTableList{};
}

void EventTableList::Show(const SongDocument& document) {
  const SongTables& tables = document.Tables;
  loadGeneration_ = document.LoadGeneration;
  trackCount_ = tables.TrackCount;
  trackFirstItem_.assign(static_cast<size_t>(tables.TrackCount) + 1, 0);
  size_t item = kFirstEventItem;
  grandTotalTicks_ = 0;
  for (int32_t track = 1; track <= tables.TrackCount; ++track) {
    trackFirstItem_[static_cast<size_t>(track)] = item;
    item += static_cast<size_t>(tables.TrackEventCount(track)) + 1;  // its events, then its total
    grandTotalTicks_ += tables.TrackTicks[static_cast<size_t>(track)];
  }
  summaryFirstItem_ = item;
  size_ = item + 1 + static_cast<size_t>(tables.TrackCount) + 1;
}

bool EventTableList::Shows(const SongDocument& document) const {
  // The shape is checked as well as the load: tables rebuilt behind the list's back within one load
  // must not be read out of range.
  const SongTables& t = document.Tables;
  const auto slots = static_cast<size_t>(trackCount_) + 1;
  return size_ != 0 && document.LoadGeneration == loadGeneration_ && t.TrackCount == trackCount_ &&
         t.TrackEvents.size() >= slots && t.TrackTicks.size() >= slots;
}

std::string EventTableList::Item(const SongDocument& document, size_t index) const {
  std::string item;
  AppendItem(item, document, index);
  return item;
}

void EventTableList::AppendItem(std::string& out, const SongDocument& document, size_t index) const {
  if (index < size_ && Shows(document)) AppendShownItem(out, document.Tables, index);
}

void EventTableList::AppendItems(std::string& out, const SongDocument& document, size_t first, size_t last,
                                 char end) const {
  if (!Shows(document)) return;
  const SongTables& t = document.Tables;
  last = std::min(last, size_);
  for (size_t index = first; index < last;) {
    if (index >= kFirstEventItem && index < summaryFirstItem_) {
      const auto after = std::upper_bound(trackFirstItem_.begin() + 1, trackFirstItem_.end(), index);
      const auto track = static_cast<int32_t>(after - trackFirstItem_.begin() - 1);
      const size_t firstOfTrack = trackFirstItem_[static_cast<size_t>(track)];
      const size_t events = std::min(last, firstOfTrack + static_cast<size_t>(t.TrackEventCount(track)));
      for (; index < events; ++index) {
        const auto event = static_cast<int32_t>(index - firstOfTrack) + 1;
        AppendEventItem(out, t.Event(track, event), track, event, end);
      }
      if (index == last) break;
    }
    AppendShownItem(out, t, index++);
    out.push_back(end);
  }
}

void EventTableList::AppendShownItem(std::string& out, const SongTables& t, size_t index) const {
  if (index == 0 || index == kFirstEventItem - 1) {
    out.append(79, '-');
  } else if (index < kFirstEventItem) {
    AppendGridRow(out, t, static_cast<int32_t>(index));
  } else if (index < summaryFirstItem_) {
    const auto after = std::upper_bound(trackFirstItem_.begin() + 1, trackFirstItem_.end(), index);
    const auto track = static_cast<int32_t>(after - trackFirstItem_.begin() - 1);
    const auto offset = static_cast<int32_t>(index - trackFirstItem_[static_cast<size_t>(track)]);
    if (offset < t.TrackEventCount(track)) {
      AppendEventItem(out, t.Event(track, offset + 1), track, offset + 1);
    } else {
      out.append("Totale unita :");
      AppendNumberText(out, t.TrackTicks[static_cast<size_t>(track)]);
    }
  } else if (const size_t summary = index - summaryFirstItem_; summary == 0) {
    out.append("Riassunto tempi di tutte le tracce:");
  } else if (summary <= static_cast<size_t>(t.TrackCount)) {
    static const Mask kTotalMask("## :");
    out.append("Totale unita traccia ");
    kTotalMask.AppendTo(out, {static_cast<int32_t>(summary)});
    AppendNumberText(out, t.TrackTicks[summary]);
  } else {
    out.append("Totale totali           :");
    AppendNumberText(out, grandTotalTicks_);
  }
}

void ListEventTable(SongDocument& document, Logs& logs, MessageBoxes& messages) {
  SongTables& tables = document.Tables;
  if (tables.TrackCount == 0) {
    messages.ShowMessage("Nessun dato disponibile!");
    return;
  }
  document.EventTable.Show(document);
  tables.GrandTotalTicks = 0;
  for (int32_t track = 1; track <= tables.TrackCount; ++track) {
    tables.GrandTotalTicks += tables.TrackTicks[static_cast<size_t>(track)];
  }
  DebugLog(logs, "       Totale totali:" + NumberText(tables.GrandTotalTicks));
  DebugLog(logs, "Creato l'eseguibile, pronto a suonare!");
}

}  // namespace sonvela
