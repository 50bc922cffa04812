#pragma once
// The event table ("Eseguibile"): the decoded events as playback will use them, a grid of the first
// 100 events of every track, and the time totals of every track.

#include <cstdint>
#include <string>
#include <vector>

#include "song/song_tables.h"
#include "text/logs.h"
#include "text/message_boxes.h"

namespace sonvela {

// Items are separated into columns by the byte 0x05, as the list holds them.
constexpr char kEventTableSeparator = '\x05';

// The items of the event table. A song has an item for every event, so the items are not stored:
// each is written from the song tables when it is asked for (the tables do not change until the next
// load, which clears this list first).
class EventTableList {
 public:
  size_t Size() const { return size_; }
  bool Empty() const { return size_ == 0; }
  std::string operator[](size_t index) const;
  void Clear();

  // Lists the tables' events; the tables must stay where they are while the list shows them.
  void Show(const SongTables& tables);

 private:
  const SongTables* tables_ = nullptr;
  int32_t trackCount_ = 0;
  std::vector<size_t> trackFirstItem_;  // per track from 1: the item of its first event
  size_t summaryFirstItem_ = 0;
  int64_t grandTotalTicks_ = 0;
  size_t size_ = 0;
};

// Shows the tables in the list, sets GrandTotalTicks and writes the two debug-log lines.
// Without tracks: "Nessun dato disponibile!" and the list stays as it was.
void ListEventTable(SongTables& tables, EventTableList& eventTable, Logs& logs, MessageBoxes& messages);

}  // namespace sonvela
