// Play, the song clock's tick, seeking, pause, stop and reset.

#include <algorithm>
#include <cmath>

#include "player/control_ids.h"
#include "player/midi_primitives.h"
#include "player/progress_text.h"
#include "player/song_time.h"
#include "player/transport.h"

namespace sonvela {

Transport::Transport(SongDocument& document, Logs& logs, const TransportPorts& ports)
    : document_(document),
      logs_(logs),
      midi_(ports.midi, ports.timers, ports.clock),
      wallClock_(ports.clock),
      screen_(ports.screen),
      view_(ports.view != nullptr ? *ports.view : allChannelsView_),
      clock_(ports.timers, logs) {}

void Transport::StartPlayback() {
  SongTables& t = Tables();
  if (document_.FileName.empty()) {
    screen_.ShowMessage("No midifile loaded!");
    return;
  }
  state_.Paused = 0;
  state_.SongPosition = 0;
  // The timers start before the output is reopened: on failure they tick on with nothing due.
  clock_.StartSongTimers();
  midi_.Close();
  if (!OpenDefaultMidiOut(midi_)) {
    screen_.ShowMessage("Problems!(Midi out)");
    // The song did not start: it neither plays, nor loops, nor ends while the clock ticks.
    started_ = false;
    return;
  }
  // Opening the output may take a while (a synth still loading its SoundFont): the song's time 0 is now,
  // or every message up to the first tick would be due before the output could take it.
  clock_.StartSongTimers();
  const double songStartMs = NowMs();
  Silence();
  ShowChannelUsage();
  cursors_.Prepare(t);
  cursors_.PlaceAtStart();
  lyricsFromLyricEvents_ = SingsFromLyricEvents(t);
  lyricPieces_ = {};
  started_ = true;
  MessageLog(logs_, document_.FileName + " iniziato alle " + TimeOfDayText(wallClock_.Now()));
  state_.PlayStartMs = std::llrint(NowMs());
  // The events at tick 0 are due at the song's time 0, however long the preparation took.
  midi_.SetDueOutsideTicks(songStartMs);
  for (int32_t track = 1; track <= cursors_.TrackCount(); ++track) {
    const int32_t count = cursors_.EventCount(track);
    const auto& due = cursors_.EventDueTime[static_cast<size_t>(track)];
    int32_t& cursor = cursors_.TrackCursor[static_cast<size_t>(track)];
    while (cursor <= count && due[static_cast<size_t>(cursor)] == 0) {
      if (!PlayEvent(track)) ++cursor;
    }
  }
  midi_.SetDueOutsideTicks(std::nullopt);
}

bool Transport::SongStarted() const {
  return started_ && cursors_.Matches(document_.Tables);
}

std::optional<int64_t> Transport::EarliestNextPosition() const {
  if (!SongStarted()) return std::nullopt;
  const int64_t songEnd = DueTimeOfTick(document_.Tables.LongestTrackTicks);
  int64_t earliest = std::min(songEnd, cursors_.NextDueTime().value_or(songEnd));
  if (state_.LoopEndPercent > 0) {
    const auto loopEnd = FirstPositionAtFraction(static_cast<double>(state_.LoopEndPercent) / 100,
                                                 document_.Tables.LongestTrackTicks);
    if (loopEnd) earliest = std::min(earliest, *loopEnd);
  }
  return earliest;
}

int64_t Transport::QuietSequencerTicks() const {
  if (!Running() || state_.IntroSeconds > 0) return 0;
  // An ended song waiting for the next one (Continuo) is moved on by the second tick.
  if (state_.PlayStatus == kStatusEnded && state_.ContinuoOn == 1) return 0;
  for (int channel = 1; channel <= kChannels; ++channel) {
    const auto ch = static_cast<size_t>(channel);
    if (state_.ChannelMeter[1][ch] == 0 && state_.ChannelMeter[2][ch] > 1) return 0;
  }
  const std::optional<int64_t> next = EarliestNextPosition();
  const int64_t step = TickStep();
  if (!next || step <= 0 || *next <= state_.SongPosition) return 0;
  // The ticks that leave the position below the next one.
  return (*next - 1 - state_.SongPosition) / step;
}

void Transport::PassQuietTicks(int64_t ticks) {
  state_.SongPosition = SongTimeSum(state_.SongPosition, SongTimeProduct(TickStep(), ticks));
}

int64_t Transport::TickStep() const {
  const SongTables& t = document_.Tables;
  return SongTimeProduct(SongTimeProduct(t.Division, t.TempoBpm), 10);
}

void Transport::OnSequencerTick() {
  endedThisTick_ = false;
  state_.SongPosition = SongTimeSum(state_.SongPosition, TickStep());
  // A song whose Play failed, or tables loaded since Play, have nothing due: only a Play or a seek places
  // the cursors on them.
  if (!SongStarted()) return;
  for (int32_t track = 1; track <= cursors_.TrackCount(); ++track) {
    const int32_t count = cursors_.EventCount(track);
    if (count <= 0) continue;
    // A loop restart places the cursors, but keeps these tables: the references stay valid.
    const auto& due = cursors_.EventDueTime[static_cast<size_t>(track)];
    int32_t& cursor = cursors_.TrackCursor[static_cast<size_t>(track)];
    while (cursor <= count && due[static_cast<size_t>(cursor)] <= state_.SongPosition) {
      // A loop restart has placed every cursor already, this one included.
      if (!PlayEvent(track)) ++cursor;
    }
  }
  // A song may last beyond its last event (an End of Track with a delta): its end, and a loop end, must
  // be seen even when no event is played.
  if (!endedThisTick_) CheckLoopAndEnd();
}

bool Transport::CheckLoopAndEnd() {
  // Only ticks of a started song and Play's own events come here: a song that did not start neither
  // loops nor ends.
  bool restarted = false;
  if (state_.LoopEndPercent > 0 && PlayedNow() >= static_cast<double>(state_.LoopEndPercent) / 100) {
    RefreshProgressText();
    clock_.KillSongTimers();
    Silence();
    ContinueFromPercent(state_.LoopStartPercent);
    restarted = true;
  }
  if (state_.SongPosition >= DueTimeOfTick(Tables().LongestTrackTicks)) EndSong();
  return restarted;
}

void Transport::EndSong() {
  RefreshProgressText();
  // The position stands still from here on: the loop bar shows where the song ended.
  ShowLoopBar();
  clock_.KillSongTimers();
  Silence();
  state_.PlayStatus = kStatusEnded;
  endedThisTick_ = true;
  events_.SongEnded = true;
}

void Transport::ContinueFromPercent(float percent) {
  if (clock_.SequencerTimer(kSequencerSlot) == 0) {
    clock_.StartSongTimers();
    state_.PlayStartMs = std::llrint(NowMs());
  }
  SongTables& t = Tables();
  // A click on a surface of no width gives no point: take the start.
  const double point = std::isfinite(percent) ? static_cast<double>(percent) : 0.0;
  // A point in a song too long for song time stops at the limit, as the due times do.
  constexpr auto kLimit = static_cast<double>(kSongTimeLimit);
  const double position = point / 100 * static_cast<double>(t.LongestTrackTicks) * kDueUnitsPerTick;
  state_.SongPosition = LimitedSongTime(std::llrint(std::clamp(position, -kLimit, kLimit)));
  // Computed once for the loaded song; a seek only searches them.
  cursors_.Prepare(t);
  Silence();
  // Events at or before the point are passed over, not replayed.
  cursors_.PlaceAfter(state_.SongPosition);
  started_ = true;
}

void Transport::PausePlayback() {
  state_.Paused = static_cast<uint8_t>((state_.Paused + 1) % 2);
  if (state_.Paused == 1) {
    clock_.KillSongTimers();
    Silence();
  } else {
    clock_.StartSongTimers();
  }
}

void Transport::StopPlayback() {
  state_.Paused = 0;
  clock_.KillSongTimers();
  Silence();
}

void Transport::ResetSong() {
  clock_.KillSongTimers();
  for (int channel = 1; channel <= kChannels; ++channel) {
    AllNotesOff(midi_, channel);
    state_.ChannelMeter[1][static_cast<size_t>(channel)] = 0;
    state_.ChannelMeter[2][static_cast<size_t>(channel)] = 0;
    state_.ChannelMuted[static_cast<size_t>(channel)] = 0;
    screen_.SetTextColour(ChannelControl(kChannelButtonBase, channel), kCaptionOn);
    screen_.SetBackground(ChannelControl(kChannelIndicatorBase, channel), kWhite);
    screen_.SetText(ChannelControl(kChannelIndicatorBase, channel), "-");
    screen_.DrawLevelBar(ChannelControl(kLevelBarBase, channel), 0);
  }
  state_.ChannelNoteOn.fill(0);
  state_.KeyOn.fill(0);
  ClearSongTables(document_.Tables);
  cursors_.Clear();
  started_ = false;
  document_.Listing.Lines.Clear();
  document_.EventTable.Clear();
  state_.PlayStartMs = 0;
  state_.SongPosition = 0;
}

void Transport::Silence() {
  SilenceAll(midi_, screen_);
}

double Transport::NowMs() {
  return wallClock_.MonotonicMs();
}

double Transport::PlayedNow() const {
  return PlayedFraction(state_.SongPosition, document_.Tables.LongestTrackTicks);
}

}  // namespace sonvela
