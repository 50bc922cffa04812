#include "cli/play_run.h"

#include <algorithm>
#include <cmath>

#include "cli/exit_status.h"
#include "platform/interrupt_signal.h"

namespace sonvela {

std::string FileArgumentList::EntryText(int index) {
  if (index < 0 || index >= Count()) return {};
  return files_[static_cast<size_t>(index)];
}

PlayRun::PlayRun(const PlayOptions& options, const RunPorts& ports)
    : options_(options),
      ports_(ports),
      songs_(options.files),
      session_({ports.midi, ports.timers, ports.clock, ports.screen, songs_}) {
  session_.Presses = options.presses;
  session_.beforePlay = [this] {
    // The load's own lines are not playback's: only these are shown (by --monitor).
    session_.SessionLogs().Debug.Clear();
    if (!played_) BeforeFirstPlay();
    played_ = true;
  };
  session_.onClockStuck = [this] { Finish(kExitFileError); };
  // The load has said why; the list goes on with the file after it.
  session_.onNextSongFailed = [this] {
    exitStatus_ = kExitFileError;
    if (!PlayNextReadable()) Finish(exitStatus_);
  };
}

void PlayRun::Start() {
  if (!PlayNextReadable()) Finish(kExitFileError);
}

bool PlayRun::PlayNextReadable() {
  while (songs_.NextIndex() >= 0) {
    if (session_.PlayNextInList()) return true;
    // The load has said why; the list goes on with the next file.
    exitStatus_ = kExitFileError;
  }
  return false;
}

void PlayRun::BeforeFirstPlay() {
  if (ports_.capture) ports_.capture->StartRecording();
  firstPlayMs_ = ports_.clock.MonotonicMs();
  // The wall-clock timer runs from the first Play on: the automatic next song and the progress display.
  ports_.timers.Start(kSecondSlot, kSecondPeriodMs);
}

void PlayRun::OnTimerTick(int slot) {
  if (finished_) return;
  session_.OnTimerTick(slot);
  if (slot != kSequencerSlot && onProgressTick) onProgressTick();
  if (finished_) return;
  ShowMonitorLines();
  const TransportState& state = session_.State();
  if (options_.stopAfterSeconds > 0 && SecondsSinceFirstPlay() >= options_.stopAfterSeconds) {
    session_.Player().StopPlayback();
    Finish(exitStatus_);
  } else if (state.PlayStatus == kStatusEnded && (state.ContinuoOn == 0 || songs_.NextIndex() < 0)) {
    Finish(exitStatus_);
  }
}

int64_t PlayRun::QuietSteps() {
  if (finished_) return 0;
  int64_t quiet = session_.Player().QuietSequencerTicks();
  if (options_.stopAfterSeconds > 0 && quiet > 0) {
    // The step that reaches the time limit is taken as a step of its own.
    const double remainingMs = options_.stopAfterSeconds * 1000 - SecondsSinceFirstPlay() * 1000;
    const auto untilLimit = static_cast<int64_t>(std::ceil(remainingMs / kSequencerPeriodMs)) - 1;
    quiet = std::min(quiet, std::max<int64_t>(untilLimit, 0));
  }
  return quiet;
}

void PlayRun::Interrupt(int signal) {
  StopWith(ExitStatusForSignal(signal));
}

void PlayRun::StopWith(int status) {
  if (finished_) return;
  // Stop silences every channel, so no note is left hanging.
  session_.Player().StopPlayback();
  Finish(status);
}

double PlayRun::SecondsSinceFirstPlay() {
  return (ports_.clock.MonotonicMs() - firstPlayMs_) / 1000;
}

void PlayRun::ShowMonitorLines() {
  LineList& debug = session_.SessionLogs().Debug;
  if (session_.State().MonitorOn == 1) {
    for (size_t i = 0; i < debug.Size(); ++i) ports_.screen.PrintLine(debug[i]);
  }
  // Nothing else reads the debug log here: it is emptied so a long session does not grow it.
  debug.Clear();
}

void PlayRun::Finish(int status) {
  if (finished_) return;
  finished_ = true;
  exitStatus_ = status;
  for (int slot = kSequencerSlot; slot <= kProgressSlot; ++slot) ports_.timers.Kill(slot);
  ports_.screen.Finish();
  if (onFinished) onFinished();
}

}  // namespace sonvela
