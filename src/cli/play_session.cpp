#include "cli/play_session.h"

#include <string>

#include "cli/button_presses.h"
#include "cli/exit_status.h"
#include "cli/interrupt_signal.h"
#include "files/load_song.h"
#include "text/number_text.h"

namespace sonvela {

namespace {
constexpr double kSecondsPerDay = 86400;
}

PlaySession::PlaySession(const PlayOptions& options, const SessionPorts& ports)
    : options_(options),
      ports_(ports),
      transport_(document_, logs_, {ports.midi, ports.timers, ports.clock, ports.screen}) {
  ports_.screen.onPlayNext = [this] { PlayNext(); };
  // Only a failed program change ends the window: the output is gone, which is an output failure here.
  ports_.screen.onEndWindow = [this] {
    transport_.StopPlayback();
    Finish(kExitFileError);
  };
}

void PlaySession::Start() {
  if (!LoadAndPlay(0)) Finish(kExitFileError);
}

bool PlaySession::LoadAndPlay(size_t index) {
  for (size_t file = index; file < options_.files.size(); ++file) {
    if (played_) transport_.ResetSong();
    if (!LoadSongFile(document_, options_.files[file], logs_, ports_.screen, ports_.clock.Now())) {
      // The load has said why; the list goes on with the next file.
      exitStatus_ = kExitFileError;
      continue;
    }
    // The load's own lines are not playback's: only these are shown (by --monitor).
    logs_.Debug.Clear();
    current_ = file;
    if (!played_) {
      if (ports_.capture) ports_.capture->MarkStart();
      firstPlayMs_ = ports_.clock.MillisecondsSinceMidnight();
      PressSettingButtons(transport_, options_.presses);
      // The wall-clock timer runs from the first Play on: the automatic next song and the progress display.
      ports_.timers.Start(kSecondSlot, kSecondPeriodMs);
    }
    PressSongButtons(transport_, options_.presses);
    transport_.StartPlayback();
    played_ = true;
    return true;
  }
  return false;
}

void PlaySession::OnTimerTick(int slot) {
  if (finished_) return;
  transport_.OnTimerTick(slot);
  if (finished_) return;
  ShowMonitorLines();
  const TransportState& state = transport_.State();
  if (options_.stopAfterSeconds > 0 && SecondsSinceFirstPlay() >= options_.stopAfterSeconds) {
    transport_.StopPlayback();
    Finish(exitStatus_);
  } else if (state.PlayStatus == kStatusEnded &&
             (state.ContinuoOn == 0 || current_ + 1 >= options_.files.size())) {
    Finish(exitStatus_);
  } else if (transport_.Running() && ClockCannotAdvance()) {
    const SongTables& t = document_.Tables;
    ports_.screen.ShowMessage("The song clock cannot advance (Division" + NumberText(t.Division) + ", BPM" +
                              NumberText(t.TempoBpm) + "): playing stops.");
    transport_.StopPlayback();
    Finish(kExitFileError);
  }
}

void PlaySession::PlayNext() {
  if (!LoadAndPlay(current_ + 1)) Finish(exitStatus_);
}

void PlaySession::Interrupt(int signal) {
  StopWith(ExitStatusForSignal(signal));
}

void PlaySession::StopWith(int status) {
  if (finished_) return;
  // Stop silences every channel, so no note is left hanging.
  transport_.StopPlayback();
  Finish(status);
}

bool PlaySession::ClockCannotAdvance() const {
  // Each tick moves the song on by Division x BPM x 10: with either at 0 (or below) it never ends.
  return document_.Tables.Division <= 0 || document_.Tables.TempoBpm <= 0;
}

double PlaySession::SecondsSinceFirstPlay() {
  double seconds = (ports_.clock.MillisecondsSinceMidnight() - firstPlayMs_) / 1000;
  if (seconds < 0) seconds += kSecondsPerDay;
  return seconds;
}

void PlaySession::ShowMonitorLines() {
  if (transport_.State().MonitorOn == 1) {
    for (size_t i = 0; i < logs_.Debug.Size(); ++i) ports_.screen.PrintLine(logs_.Debug[i]);
  }
  // Nothing else reads the debug log here: it is emptied so a long session does not grow it.
  logs_.Debug.Clear();
}

void PlaySession::Finish(int status) {
  if (finished_) return;
  finished_ = true;
  exitStatus_ = status;
  for (int slot = kSequencerSlot; slot <= kProgressSlot; ++slot) ports_.timers.Kill(slot);
  ports_.screen.Finish();
  if (onFinished) onFinished();
}

}  // namespace sonvela
