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

struct SongDocument;

// Items are separated into columns by the byte 0x05, as the list holds them.
constexpr char kEventTableSeparator = '\x05';

// The items of the event table. A song has an item for every event, so the items are not stored: the
// list keeps only where each track's items begin, and each item is written from the document's tables
// when it is asked for. The list holds no pointer to its document, so the two move together freely.
class EventTableList {
 public:
  size_t Size() const { return size_; }
  bool Empty() const { return size_ == 0; }
  void Clear();

  // Lays out the items of the document's current load.
  void Show(const SongDocument& document);
  // Whether the items still describe the document: shown for its current load, with the tables still
  // shaped as they were then.
  bool Shows(const SongDocument& document) const;

  // Item `index`, written from the document's tables; nothing when the list does not show the document
  // (loaded or cleared since) or the index is past the end.
  std::string Item(const SongDocument& document, size_t index) const;
  void AppendItem(std::string& out, const SongDocument& document, size_t index) const;
  // Items [first, last), each followed by `end`: the way to write all of them, an event at a time
  // without finding its track again. Nothing when the list does not show the document.
  void AppendItems(std::string& out, const SongDocument& document, size_t first, size_t last, char end) const;

 private:
  void AppendShownItem(std::string& out, const SongTables& tables, size_t index) const;

  uint64_t loadGeneration_ = 0;
  int32_t trackCount_ = 0;
  std::vector<size_t> trackFirstItem_;  // per track from 1: the item of its first event
  size_t summaryFirstItem_ = 0;
  int64_t grandTotalTicks_ = 0;
  size_t size_ = 0;
};

// Shows the document's tables in its list, sets GrandTotalTicks and writes the two debug-log lines.
// Without tracks: "Nessun dato disponibile!" and the list stays as it was.
void ListEventTable(SongDocument& document, Logs& logs, MessageBoxes& messages);

}  // namespace sonvela
