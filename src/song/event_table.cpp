#include "song/event_table.h"

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
    for (int32_t index = 1; index <= count; ++index) {
      const TrackEvent& event = t.Event(track, index);
      std::string& line = eventTable.Open();
      AppendNumberText(line, track);
      line.push_back(':');
      AppendNumberText(line, index);
      line.push_back(kEventTableSeparator);
      kTickMask.AppendTo(line, {event.tick});
      line.append(" &H");
      AppendHexByte(line, event.command);
      line.append(" &H");
      AppendHexByte(line, event.data1);
      line.append(" &H");
      AppendHexByte(line, event.data2);
      eventTable.Close();
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
