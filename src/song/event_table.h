#pragma once
// The event table ("Eseguibile"): the decoded events as playback will use them, a grid of the first
// 100 events of every track, and the time totals of every track.

#include "song/song_tables.h"
#include "text/line_list.h"
#include "text/logs.h"
#include "text/message_boxes.h"

namespace sonvela {

// Items are separated into columns by the byte 0x05, as the list holds them.
constexpr char kEventTableSeparator = '\x05';

void ListEventTable(SongTables& tables, LineList& eventTable, Logs& logs, MessageBoxes& messages);

}  // namespace sonvela
