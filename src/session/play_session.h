#pragma once
// One player session: the loaded song, the logs and the transport, with the load-and-play sequence that
// every way of choosing a song goes through (the Load button, the song list, the command line, Create,
// and the automatic next song of Continuo). The window, the toolbox and the desktop's media controls all
// drive it with Commands; it speaks to them through the screen and song-list ports, and acts on what the
// transport reports once each tick is done.

#include <functional>
#include <string>
#include <vector>

#include "player/midi_out.h"
#include "player/screen.h"
#include "player/tick_timers.h"
#include "player/transport.h"
#include "player/wall_clock.h"
#include "session/command.h"
#include "session/control_states.h"
#include "session/song_list.h"
#include "song/song_document.h"
#include "text/logs.h"

namespace sonvela {

// What the load sequence was started by; each differs in where the path comes from and in its step order.
enum class LoadVariant { kLoad, kList, kCommandLine, kCreate };

struct SessionPorts {
  MidiOut& midi;
  TickTimers& timers;
  WallClock& clock;
  Screen& screen;
  SongList& songs;
};

class PlaySession : public TickSink {
 public:
  explicit PlaySession(const SessionPorts& ports);

  SongDocument& Document() { return document_; }
  const SongDocument& Document() const { return document_; }
  Logs& SessionLogs() { return logs_; }
  Transport& Player() { return transport_; }
  const Transport& Player() const { return transport_; }
  const TransportState& State() const { return transport_.State(); }
  const ViewSettings& View() const { return view_; }

  // Carries out a command, then shows every toggle as it now stands.
  void Apply(const Command& command);

  // The song named on the command line, loaded and played at the window's first paint; every load empties
  // it.
  std::string CommandLineSong;
  // Commands given by code around each Play (the toolbox's switches): those that outlast a load before the
  // first Play, the others after every load.
  std::vector<Command> Presses;
  // Runs right before Play is pressed after a load.
  std::function<void()> beforePlay;
  // Runs when playing stopped because the song clock cannot advance.
  std::function<void()> onClockStuck;
  // Runs when Continuo's next song could not be read (it has said why).
  std::function<void()> onNextSongFailed;

  // The load sequence. `path` is the list entry's text (List), ignored by Load (the open dialog chooses),
  // Command line (CommandLineSong) and Create (the composer's file). Returns true when a song was read and
  // Play pressed; a file that cannot be read has said why and plays nothing.
  bool LoadAndPlay(LoadVariant variant, const std::string& path = {});
  // Selects the list's entry after (before) the selected one, as the list goes, and loads and plays it.
  // False when there is none or the song could not be read.
  bool PlayNextInList();
  bool PlayPreviousInList();

  void OnTimerTick(int slot) override;

 private:
  bool ReadAndPlay(LoadVariant variant);
  bool ClockCannotAdvance() const;
  // Selects the entry and plays it; with none (-1), the ended song is reset and nothing plays.
  bool PlayEntry(int index);
  void Carry(const Command& command);
  void ShowControls(bool all);
  // After a load: the channels without notes, and the big keyboard's channel filters.
  void ShowChannelsUsed();

  SessionPorts ports_;
  SongDocument document_;
  Logs logs_;
  ViewSettings view_;
  Transport transport_;
  ControlStates controls_;
  bool settingsPressed_ = false;
};

}  // namespace sonvela
