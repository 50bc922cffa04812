#pragma once
// One player session: the loaded song, the logs and the transport, with the load-and-play sequence that
// every way of choosing a song goes through (the Load button, the song list, the command line, Create,
// and the automatic next song of Continuo). The window and the toolbox both drive it; it speaks to them
// through the screen and song-list ports only.

#include <functional>
#include <string>
#include <vector>

#include "player/midi_out.h"
#include "player/screen.h"
#include "player/tick_timers.h"
#include "player/transport.h"
#include "player/wall_clock.h"
#include "session/button_presses.h"
#include "session/song_list.h"
#include "song/song_document.h"
#include "text/logs.h"

namespace sonvela {

// What the load sequence was started by; each differs in where the path comes from and in its step order.
enum class LoadVariant { kLoad, kList, kCommandLine, kCreate };

// The file the composer writes and Create plays.
inline constexpr const char* kCreatedSongFile = "creato.mid";

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
  const TransportState& State() const { return transport_.State(); }

  // The song named on the command line, loaded and played at the window's first paint; every load empties
  // it.
  std::string CommandLineSong;
  // Buttons pressed by code around each Play (the toolbox's switches): the settings before the first Play,
  // the song buttons after every load.
  std::vector<ButtonPress> Presses;
  // Runs right before Play is pressed after a load.
  std::function<void()> beforePlay;
  // Runs when playing stopped because the song clock cannot advance.
  std::function<void()> onClockStuck;

  // The load sequence. `path` is the list entry's text (List), ignored by Load (the open dialog chooses),
  // Command line (CommandLineSong) and Create (the composer's file). Returns true when a song was read and
  // Play pressed; a file that cannot be read has said why and plays nothing.
  bool LoadAndPlay(LoadVariant variant, const std::string& path = {});
  // Selects the entry after the selected one (after the last, or with none selected: the first) and
  // loads and plays it. False when the list is empty or the song could not be read.
  bool PlayNextInList();

  void OnTimerTick(int slot) override;

 private:
  bool ReadAndPlay(LoadVariant variant);
  bool ClockCannotAdvance() const;

  SessionPorts ports_;
  SongDocument document_;
  Logs logs_;
  Transport transport_;
  bool settingsPressed_ = false;
};

}  // namespace sonvela
