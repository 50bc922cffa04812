#pragma once
// The arithmetic of the progress label: how far the song is, how long it lasts, and the label's text.

#include <cstdint>
#include <optional>
#include <string>

#include "song/song_tables.h"
#include "text/local_date_time.h"

namespace sonvela {

// "hh:mm:ss", two digits each.
std::string TimeOfDayText(const LocalDateTime& time);
// Song length at the current tempo; 0 when tempo, division or length is 0 (nothing to measure).
double SongLengthSeconds(const SongTables& tables);
// Position as a fraction of the song, 0 for a song of no length.
double PlayedFraction(int64_t songPosition, int64_t longestTrackTicks);
// The smallest song position whose PlayedFraction reaches the fraction; none when no song time does.
std::optional<int64_t> FirstPositionAtFraction(double fraction, int64_t longestTrackTicks);
// The label's percent: position x 100 / (60000 x length), in that order; 100 x the fraction can land on the
// other side of a rounding tie (210 of a one-tick song must show 0.3). 0 for a song of no length.
double PlayedPercent(int64_t songPosition, int64_t longestTrackTicks);
// "Tempo:  12.3 s  ( 185.0 s)   6.7% ": replaces the text in out, reusing its buffer.
void FormatProgressText(std::string& out, double elapsedSeconds, double lengthSeconds, double percent);
// One progress tick of a level bar: falls by 10 once its note is off, but a level of 1 stays.
int32_t DecayedLevel(int32_t sounding, int32_t level);

}  // namespace sonvela
