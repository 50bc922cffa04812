#pragma once
// The player: plays the loaded song on the MIDI output, driven by the timer ticks, and carries out every
// transport control of the main window. It owns the transport state and the timer slots; the song, the
// logs and the outside world come in by reference. Everything runs on the UI thread.
//
// Use: construct; StartSecondTick once the window is up; load a song into the document (LoadSongFile);
// StartPlayback; deliver every tick of the timers to OnTimerTick (the platform's TickTimers calls it as
// TickSink); read State().ProgressText and State().PlayStatus ("finito" when the song has ended or its intro
// ran out); ResetSong before the next load; KillAllTimers when the window goes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "player/midi_out.h"
#include "player/playback_cursors.h"
#include "player/screen.h"
#include "player/sequencer_clock.h"
#include "player/song_midi_out.h"
#include "player/tick_timers.h"
#include "player/transport_state.h"
#include "player/view_settings.h"
#include "player/wall_clock.h"
#include "song/lyric_pieces.h"
#include "song/song_document.h"
#include "text/logs.h"

namespace sonvela {

struct TransportPorts {
  MidiOut& midi;
  TickTimers& timers;
  WallClock& clock;
  Screen& screen;
  // The channel filters of the big keyboard; none given: all on.
  const ViewSettings* view = nullptr;
};

// What the ticks since the last look brought about, for the session to act on once the tick is done.
struct TransportEvents {
  bool SongEnded = false;
  bool IntroExpired = false;
  // A song has ended with Continuo on: the next one is due.
  bool ContinuoDue = false;
};

class Transport : public TickSink {
 public:
  Transport(SongDocument& document, Logs& logs, const TransportPorts& ports);

  const TransportState& State() const { return state_; }
  const SequencerClock& Clock() const { return clock_; }
  // The due times and track cursors of the song being played.
  const PlaybackCursors& Cursors() const { return cursors_; }
  // What happened since the last call.
  TransportEvents TakeEvents() { return std::exchange(events_, {}); }
  // Song time stands still between ticks: true while the sequencer timer runs.
  bool Running() const { return clock_.SequencerTimer(kSequencerSlot) != 0; }
  // The song's events are under way: a Play opened the output and placed the cursors (or a click on the
  // song map placed them), and the tables are still those of that moment. Until then the clock may tick,
  // but nothing is due, and neither the loop end nor the song end is tested.
  bool SongStarted() const;
  // The earliest song position at which a sequencer tick can do anything besides moving the clock: the
  // smallest due time under the track cursors, the point where the loop end is reached when a loop is set,
  // and the song end. Ticks that leave SongPosition below it play nothing, restart nothing and end
  // nothing, so a clock that needs no real time may pass them in one go (each adds Division x TempoBpm x
  // 10). It may lie at or behind the position (a loop end behind it
  // restarts at the next tick). None while the song has not started: then no position brings anything.
  // Costs tracks x O(1) and a bisection of at most 64 steps for the loop end; no search over the song.
  std::optional<int64_t> EarliestNextPosition() const;
  // How many of the coming sequencer ticks can pass with nothing but song time moving on: none sent, shown
  // or logged by any timer slot (no intro running, no level bar falling), so a simulated clock may pass
  // them in one go with PassQuietTicks. 0 when the next tick may do anything.
  int64_t QuietSequencerTicks() const;
  void PassQuietTicks(int64_t ticks);

  // The wall clock's timer (slot 2) runs from the end of the main window's initialisation until the window
  // is destroyed, which stops every timer.
  void StartSecondTick();
  void KillAllTimers();
  // All Notes Off on every channel, after whatever the song has sent (it may still be on its way).
  void Silence();

  // Timer ticks: slot 1 the song clock, 2 the wall clock, 3 the progress label.
  void OnTimerTick(int slot) override;
  void OnSequencerTick();
  void OnSecondTick();
  void OnProgressTick();

  // Transport buttons.
  void StartPlayback();
  void PausePlayback();
  void StopPlayback();
  void ContinueFromPercent(float percent);
  void ResetSong();

  // Loop bar clicks at a point in percent of the song, and "Cancel Loop".
  void SetLoopStart(float percent);
  void SetLoopEnd(float percent);
  void CancelLoop();

  // Channel buttons (channel 1..16): left click, right click, and "Solo off".
  void ToggleChannel(int channel);
  void SoloChannel(int channel);
  void SoloOff();

  // Toggles and tempo buttons.
  void ToggleContinuo();
  void ToggleIntro();
  void ToggleMute();
  void ToggleMonitor();
  void ToggleTempoFixed();
  void HalveTempo();
  void DoubleTempo();

  // A click on the instrument label of channel 1..16: the left button steps to the previous program, the
  // right to the next, and the label's program is sent.
  void StepInstrument(int channel, bool leftDown, bool rightDown);

  // The BPM label shows the song's tempo.
  void ShowBpm();
  // The instrument label of channel 1..16 names the program and stands for it (-1 beyond 0..127).
  void ShowProgramOnChannel(int channel, int program);

  // The event at the track's cursor (the caller moves the cursor on). Returns true when it restarted the
  // loop, which has already placed every cursor anew.
  bool PlayEvent(int32_t track);

 private:
  SongTables& Tables() { return document_.Tables; }
  // Monotonic milliseconds: elapsed times are measured on them, never on the time of day.
  double NowMs();
  double ElapsedSeconds();
  double PlayedNow() const;
  // What one sequencer tick adds to SongPosition: Division x TempoBpm x 10.
  int64_t TickStep() const;
  void ShowLoopBar();
  void ShowChannelUsage();
  void RefreshProgressText();
  // After an event, and once after each tick: the loop end and the song end. Returns true on a loop restart.
  bool CheckLoopAndEnd();
  void EndSong();
  // Key 1..127 only: the key table and the keyboards end there.
  void ShowNoteOn(int channel, int key, int velocity);
  void ShowNoteOff(int channel, int key);
  void ShowLyricEvent(std::string_view tagged);
  void LogMonitorLine(int32_t track, int32_t index, const TrackEvent& event, bool noteOn, bool noteOff);

  SongDocument& document_;
  Logs& logs_;
  SongMidiOut midi_;
  WallClock& wallClock_;
  Screen& screen_;
  const ViewSettings allChannelsView_;
  const ViewSettings& view_;
  SequencerClock clock_;
  TransportState state_;
  PlaybackCursors cursors_;
  // A Play (or a seek) has placed the cursors; cleared when Play cannot open the output, and by ResetSong.
  bool started_ = false;
  bool endedThisTick_ = false;
  TransportEvents events_;
  // The song has no Text events: its Lyric events feed the lyric line.
  bool lyricsFromLyricEvents_ = false;
  LyricEventPieces lyricPieces_;
  // Log lines and labels are built here, reusing its room, so that playing events does not allocate.
  std::string line_;
};

}  // namespace sonvela
