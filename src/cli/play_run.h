#pragma once
// One run of `play` (and of `render`): the files of the command line played in turn on one player
// session, with the switches pressed around each Play, until the list is done, the time is up, or the
// user stops it. The tick source (real or simulated) delivers to it; it tells when it has finished.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "cli/play_options.h"
#include "cli/terminal_screen.h"
#include "player/capture_midi_out.h"
#include "session/play_session.h"
#include "session/song_list.h"

namespace sonvela {

// The file arguments as the song list. Nothing chooses or refills it.
class FileArgumentList : public SongList {
 public:
  explicit FileArgumentList(const std::vector<std::string>& files) : files_(files) {}
  int Count() override { return static_cast<int>(files_.size()); }
  int SelectedIndex() override { return selected_; }
  void Select(int index) override { selected_ = index; }
  std::string EntryText(int index) override;
  bool GoesRound() const override { return false; }

 private:
  const std::vector<std::string>& files_;
  int selected_ = -1;
};

struct RunPorts {
  MidiOut& midi;
  TickTimers& timers;
  WallClock& clock;
  TerminalScreen& screen;
  CaptureMidiOut* capture;  // started at the first Play; null when sounding
};

class PlayRun : public TickSink {
 public:
  PlayRun(const PlayOptions& options, const RunPorts& ports);

  // Loads the first song that can be read, presses the buttons and Play. Finished at once when none could.
  void Start();
  void OnTimerTick(int slot) override;
  // The coming 10 ms steps in which nothing but song time would move on (see SimulatedRun).
  int64_t QuietSteps();
  // Ctrl-C or another stop signal: silence, then finish with the signal's exit status.
  void Interrupt(int signal);

  bool Finished() const { return finished_; }
  // Stops playing (every channel silenced) and finishes with this exit status.
  void StopWith(int status);
  int ExitStatus() const { return exitStatus_; }
  const TransportState& State() const { return session_.State(); }
  PlaySession& Session() { return session_; }
  // Runs once, when the run finishes.
  std::function<void()> onFinished;
  // Runs after each tick of the progress label and the wall clock.
  std::function<void()> onProgressTick;

 private:
  // Plays the list from the selected entry's successor on until a song loads; false when none is left.
  // The toolbox's list does not wrap: after the last song, playing ends.
  bool PlayNextReadable();
  void BeforeFirstPlay();
  double SecondsSinceFirstPlay();
  void ShowMonitorLines();
  void Finish(int status);

  const PlayOptions& options_;
  RunPorts ports_;
  FileArgumentList songs_;
  PlaySession session_;
  bool played_ = false;
  double firstPlayMs_ = 0;
  bool finished_ = false;
  int exitStatus_ = 0;
};

}  // namespace sonvela
