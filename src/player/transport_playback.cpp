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
      midi_(ports.midi),
      wallClock_(ports.clock),
      screen_(ports.screen),
      clock_(ports.timers, logs) {}

void Transport::StartPlayback() {
  SongTables& t = Tables();
  if (t.SongFileName.empty()) {
    screen_.ShowMessage("No midifile loaded!");
    return;
  }
  if (state_.Paused == 1) {
    screen_.SetChecked(kPauseToggle, false);
    state_.Paused = 0;
  }
  state_.SongPosition = 0;
  // The timers start before the output is reopened: on failure they tick on with nothing due.
  clock_.StartSongTimers();
  midi_.Close();
  if (!OpenDefaultMidiOut(midi_)) {
    screen_.ShowMessage("Problems!(Midi out)");
    // The clock ticks on, but with nothing due: no cursor may point into a song that was not started.
    PassAllEvents();
    return;
  }
  Silence();
  ShowChannelUsage();
  FillDueTimes();
  MessageLog(logs_, t.SongFileName + " iniziato alle " + TimeOfDayText(wallClock_.Now()));
  state_.PlayStartMs = static_cast<int32_t>(std::lrint(NowMs()));
  for (int32_t track = 1; track <= t.TrackCount; ++track) {
    const int32_t count = t.TrackEventCount(track);
    const auto& due = t.EventDueTime[static_cast<size_t>(track)];
    int32_t& cursor = t.TrackCursor[static_cast<size_t>(track)];
    while (cursor <= count && due[static_cast<size_t>(cursor)] == 0) {
      if (!PlayEvent(track)) ++cursor;
    }
  }
}

void Transport::OnSequencerTick() {
  SongTables& t = Tables();
  endedThisTick_ = false;
  const int64_t step = SongTimeProduct(SongTimeProduct(t.Division, t.TempoBpm), 10);
  state_.SongPosition = SongTimeSum(state_.SongPosition, step);
  for (int32_t track = 1; track <= t.TrackCount; ++track) {
    const int32_t count = t.TrackEventCount(track);
    if (count == 0) continue;
    const auto& due = t.EventDueTime[static_cast<size_t>(track)];
    int32_t& cursor = t.TrackCursor[static_cast<size_t>(track)];
    // A cursor of 0 belongs to tables loaded after Play without a ResetSong: nothing of them is due.
    while (cursor >= 1 && cursor <= count && due[static_cast<size_t>(cursor)] <= state_.SongPosition) {
      ShowLoopBar();
      // A loop restart has placed every cursor already, this one included.
      if (!PlayEvent(track)) ++cursor;
    }
  }
  // A song may last beyond its last event (an End of Track with a delta): its end, and a loop end, must
  // be seen even when no event is played.
  if (!endedThisTick_) CheckLoopAndEnd();
}

bool Transport::CheckLoopAndEnd() {
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
  clock_.KillSongTimers();
  Silence();
  state_.PlayStatus = kStatusEnded;
  endedThisTick_ = true;
}

void Transport::ContinueFromPercent(float percent) {
  if (clock_.SequencerTimer(kSequencerSlot) == 0) {
    clock_.StartSongTimers();
    state_.PlayStartMs = static_cast<int32_t>(std::lrint(NowMs()));
  }
  SongTables& t = Tables();
  // A click on a surface of no width gives no point: take the start.
  const double point = std::isfinite(percent) ? static_cast<double>(percent) : 0.0;
  // A point in a song too long for song time stops at the limit, as the due times do.
  constexpr auto kLimit = static_cast<double>(kSongTimeLimit);
  const double position = point / 100 * static_cast<double>(t.LongestTrackTicks) * kDueUnitsPerTick;
  state_.SongPosition = LimitedSongTime(std::llrint(std::clamp(position, -kLimit, kLimit)));
  FillDueTimes();
  Silence();
  // Events at or before the point are passed over, not replayed.
  for (int32_t track = 1; track <= t.TrackCount; ++track) {
    const int32_t count = t.TrackEventCount(track);
    const auto& due = t.EventDueTime[static_cast<size_t>(track)];
    int32_t& cursor = t.TrackCursor[static_cast<size_t>(track)];
    while (cursor <= count && due[static_cast<size_t>(cursor)] <= state_.SongPosition) ++cursor;
  }
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
  if (state_.Paused == 1) {
    screen_.SetChecked(kPauseToggle, false);
    state_.Paused = 0;
  }
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
  document_.Listing.Lines.Clear();
  document_.EventTable.Clear();
  state_.PlayStartMs = 0;
  state_.SongPosition = 0;
}

void Transport::FillDueTimes() {
  SongTables& t = Tables();
  // The reader sizes these at each load; tables built another way get their room here, once per Play.
  const auto tracks = static_cast<size_t>(t.TrackCount) + 1;
  if (t.EventDueTime.size() < tracks) t.EventDueTime.resize(tracks);
  if (t.TrackCursor.size() < tracks) t.TrackCursor.resize(tracks);
  for (int32_t track = 1; track <= t.TrackCount; ++track) {
    const int32_t count = t.TrackEventCount(track);
    auto& due = t.EventDueTime[static_cast<size_t>(track)];
    if (due.size() < static_cast<size_t>(count) + 1) due.resize(static_cast<size_t>(count) + 1);
    for (int32_t index = 1; index <= count; ++index) {
      due[static_cast<size_t>(index)] = DueTimeOfTick(t.Event(track, index).tick);
    }
    t.TrackCursor[static_cast<size_t>(track)] = 1;
  }
}

void Transport::PassAllEvents() {
  SongTables& t = Tables();
  if (t.TrackCursor.size() < static_cast<size_t>(t.TrackCount) + 1)
    t.TrackCursor.resize(static_cast<size_t>(t.TrackCount) + 1);
  for (int32_t track = 1; track <= t.TrackCount; ++track) {
    t.TrackCursor[static_cast<size_t>(track)] = t.TrackEventCount(track) + 1;
  }
}

void Transport::Silence() {
  SilenceAll(midi_, screen_);
}

double Transport::NowMs() {
  return wallClock_.MillisecondsSinceMidnight();
}

double Transport::PlayedNow() const {
  return PlayedFraction(state_.SongPosition, document_.Tables.LongestTrackTicks);
}

}  // namespace sonvela
