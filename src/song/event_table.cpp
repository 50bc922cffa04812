#include "song/event_table.h"

#include <algorithm>
#include <charconv>

#include "text/format_mask.h"
#include "text/number_text.h"

namespace sonvela {
namespace {

constexpr int32_t kGridRows = 100;
constexpr size_t kFirstEventItem = 1 + kGridRows + 1;  // rule, grid, rule

std::string GridRow(const SongTables& t, int32_t row) {
  static const Mask kRowMask("###");
  static const Mask kTrackMask("##>");
  static const Mask kGridTickMask("######d ");
  std::string line = kRowMask.Format({row});
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
  return line;
}

std::string EventItem(const TrackEvent& event, int32_t track, int32_t index) {
  static const Mask kTickMask(" ######d ");
  std::string line;
  AppendNumberText(line, track);
  line.push_back(':');
  AppendNumberText(line, index);
  line.push_back(kEventTableSeparator);
  kTickMask.AppendTo(line, {event.tick});
  for (const int32_t value : {event.command, event.data1, event.data2}) {
    line.append(" &H");
    AppendHexByte(line, value);
  }
  return line;
}

}  // namespace

void EventTableList::Clear() {
  *this = EventTableList{};
}

void EventTableList::Show(const SongTables& tables) {
  tables_ = &tables;
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

std::string EventTableList::operator[](size_t index) const {
  // Tables rebuilt behind the list's back (a load always clears the list first) give no items.
  if (tables_ == nullptr || index >= size_ || tables_->TrackCount != trackCount_) return {};
  const SongTables& t = *tables_;
  if (index == 0 || index == kFirstEventItem - 1) return std::string(79, '-');
  if (index < kFirstEventItem) return GridRow(t, static_cast<int32_t>(index));
  if (index < summaryFirstItem_) {
    const auto after = std::upper_bound(trackFirstItem_.begin() + 1, trackFirstItem_.end(), index);
    const auto track = static_cast<int32_t>(after - trackFirstItem_.begin() - 1);
    const auto offset = static_cast<int32_t>(index - trackFirstItem_[static_cast<size_t>(track)]);
    if (offset < t.TrackEventCount(track)) return EventItem(t.Event(track, offset + 1), track, offset + 1);
    return "Totale unita :" + NumberText(t.TrackTicks[static_cast<size_t>(track)]);
  }
  const size_t summary = index - summaryFirstItem_;
  if (summary == 0) return "Riassunto tempi di tutte le tracce:";
  if (summary <= static_cast<size_t>(t.TrackCount)) {
    static const Mask kTotalMask("## :");
    const auto track = static_cast<int32_t>(summary);
    return "Totale unita traccia " + kTotalMask.Format({track}) + NumberText(t.TrackTicks[summary]);
  }
  return "Totale totali           :" + NumberText(grandTotalTicks_);
}

void ListEventTable(SongTables& tables, EventTableList& eventTable, Logs& logs, MessageBoxes& messages) {
  if (tables.TrackCount == 0) {
    messages.ShowMessage("Nessun dato disponibile!");
    return;
  }
  eventTable.Show(tables);
  tables.GrandTotalTicks = 0;
  for (int32_t track = 1; track <= tables.TrackCount; ++track) {
    tables.GrandTotalTicks += tables.TrackTicks[static_cast<size_t>(track)];
  }
  DebugLog(logs, "       Totale totali:" + NumberText(tables.GrandTotalTicks));
  DebugLog(logs, "Creato l'eseguibile, pronto a suonare!");
}

}  // namespace sonvela
