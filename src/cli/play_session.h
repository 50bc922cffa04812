#pragma once
// One run of `play` (and of `render`): the song list of the command line, loaded and played in turn on one
// transport, with the switches pressed after each load, until the list is done, the time is up, or the user
// stops it. The tick source (real or simulated) delivers to it; it tells when it has finished.

#include <cstddef>
#include <functional>
#include <vector>

#include "cli/play_options.h"
#include "cli/terminal_screen.h"
#include "player/recording_midi_out.h"
#include "player/transport.h"
#include "song/song_document.h"
#include "text/logs.h"

namespace sonvela {

struct SessionPorts {
  MidiOut& midi;
  TickTimers& timers;
  WallClock& clock;
  TerminalScreen& screen;
  RecordingMidiOut* capture;  // started at the first Play; null when sounding
};

class PlaySession : public TickSink {
 public:
  PlaySession(const PlayOptions& options, const SessionPorts& ports);

  // Loads the first song that can be read, presses the buttons and Play. Finished at once when none could.
  void Start();
  void OnTimerTick(int slot) override;
  // Ctrl-C or another stop signal: silence, then finish with the signal's exit status.
  void Interrupt(int signal);

  bool Finished() const { return finished_; }
  // Stops playing (every channel silenced) and finishes with this exit status.
  void StopWith(int status);
  int ExitStatus() const { return exitStatus_; }
  const TransportState& State() const { return transport_.State(); }
  // Runs once, when the session finishes.
  std::function<void()> onFinished;

 private:
  // Loads the list from `index` on until a song loads, and plays it; false when none is left.
  bool LoadAndPlay(size_t index);
  // The transport's automatic next song (Continuo). The list does not wrap: after the last song, playing
  // ends.
  void PlayNext();
  bool ClockCannotAdvance() const;
  double SecondsSinceFirstPlay();
  void ShowMonitorLines();
  void Finish(int status);

  const PlayOptions& options_;
  SessionPorts ports_;
  SongDocument document_;
  Logs logs_;
  Transport transport_;
  size_t current_ = 0;
  bool played_ = false;
  double firstPlayMs_ = 0;
  bool finished_ = false;
  int exitStatus_ = 0;
};

}  // namespace sonvela
