#pragma once
// The song map (every note-on as a dot, time across, pitch up), the loop bar with the play position, and
// where a click falls across a panel.

#include <optional>

#include <QImage>

#include "player/colours.h"
#include "song/song_tables.h"

namespace sonvela {

constexpr Colour kSongMapBackground = Rgb(10, 55, 55);
constexpr Colour kSongMapGrid = Rgb(100, 50, 0);
constexpr Colour kSongMapNote = Rgb(255, 255, 255);
constexpr Colour kSongMapDrumNote = Rgb(0, 255, 0);
constexpr Colour kLoopBarBackground = Rgb(10, 10, 55);
constexpr Colour kLoopRange = Rgb(255, 0, 0);
constexpr Colour kPlayPosition = Rgb(255, 255, 255);
constexpr Colour kLoopBarGrid = Rgb(255, 255, 0);

// Every note-on before the end of the longest track; channel 10 in green.
void DrawSongMap(QImage& image, const SongTables& tables);

// The loop range as a rounded red bar when loopStartPercent > 0, the play position (a fraction 0..1 of the
// song) as a white line unless there is none (a song of no length), and a yellow grid every tenth.
void DrawLoopBar(QImage& image, float loopStartPercent, float loopEndPercent,
                 std::optional<double> playedFraction);

// Where a pointer at x (relative to the panel's left edge) lies across a panel this wide: 0 at the left edge,
// 100 at the right one, limited to 0..100.
float PointerPercent(int x, int width);

}  // namespace sonvela
