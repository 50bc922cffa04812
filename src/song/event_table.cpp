#include "song/event_table.h"

#include <charconv>

#include "text/format_mask.h"
#include "text/number_text.h"

namespace sonvela {

void ListEventTable(SongTables& tables, LineList& eventTable, Logs& logs, MessageBoxes& messages) {
  const SongTables& t = tables;
  if (t.TrackCount == 0) {
    messages.ShowMessage("Nessun dato disponibile!");
    return;
  }
  const std::string rule(79, '-');
  tables.GrandTotalTicks = 0;
  int64_t eventCount = 0;
  for (int32_t track = 1; track <= t.TrackCount; ++track) eventCount += t.TrackEventCount(track);
  const auto expectedLines = static_cast<size_t>(eventCount) + 110 + 2 * static_cast<size_t>(t.TrackCount);
  eventTable.Reserve(expectedLines * 40 + 100 * 20 * static_cast<size_t>(t.TrackCount), expectedLines);
  eventTable.Append(rule);

  static const Mask kRowMask("###");
  static const Mask kTrackMask("##>");
  static const Mask kGridTickMask("######d ");
  for (int32_t row = 1; row <= 100; ++row) {
    std::string& line = eventTable.Open();
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
    eventTable.Close();
  }
  eventTable.Append(rule);

  static const Mask kTickMask(" ######d ");
  for (int32_t track = 1; track <= t.TrackCount; ++track) {
    const int32_t count = t.TrackEventCount(track);
    char line[128];
    for (int32_t index = 1; index <= count; ++index) {
      // Built in a buffer and appended once: this list has a line for every event of the song.
      const TrackEvent& event = t.Event(track, index);
      char* p = line;
      if (track >= 0) *p++ = ' ';
      p = std::to_chars(p, p + 12, track).ptr;
      *p++ = ':';
      *p++ = ' ';
      p = std::to_chars(p, p + 12, index).ptr;
      *p++ = kEventTableSeparator;
      p += kTickMask.LayOutIntegers(p, {event.tick});
      for (const int32_t value : {event.command, event.data1, event.data2}) {
        constexpr char kDigits[] = "0123456789ABCDEF";
        *p++ = ' ';
        *p++ = '&';
        *p++ = 'H';
        *p++ = kDigits[(value >> 4) & 0x0F];
        *p++ = kDigits[value & 0x0F];
      }
      eventTable.Append(std::string_view(line, static_cast<size_t>(p - line)));
    }
    tables.GrandTotalTicks += t.TrackTicks[static_cast<size_t>(track)];
    eventTable.Append("Totale unita :" + NumberText(t.TrackTicks[static_cast<size_t>(track)]));
  }

  eventTable.Append("Riassunto tempi di tutte le tracce:");
  static const Mask kTotalMask("## :");
  for (int32_t track = 1; track <= t.TrackCount; ++track) {
    eventTable.Append("Totale unita traccia " + kTotalMask.Format({track}) +
                      NumberText(t.TrackTicks[static_cast<size_t>(track)]));
  }
  eventTable.Append("Totale totali           :" + NumberText(t.GrandTotalTicks));
  DebugLog(logs, "       Totale totali:" + NumberText(t.GrandTotalTicks));
  DebugLog(logs, "Creato l'eseguibile, pronto a suonare!");
}

}  // namespace sonvela
