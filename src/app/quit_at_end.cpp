#include "app/quit_at_end.h"

#include <QTimer>

#include <cstdlib>

#include "app/sonvela.h"
#include "platform/qt_tick_timers.h"
#include "player/transport_state.h"

namespace sonvela {

bool QuitAtEnd::Asked() {
  const char* value = std::getenv(kQuitAtEndVariable);
  return value != nullptr && *value != '\0';
}

void QuitAtEnd::Into(ProgramParts& parts) {
  parts.makeTimers = [this](TickSink&) { return std::make_unique<QtTickTimers>(*this); };
}

void QuitAtEnd::OnTimerTick(int slot) {
  if (program_ == nullptr) return;
  program_->OnTimerTick(slot);
  const TransportState& state = program_->Session().State();
  if (ended_ || state.ContinuoOn != 0) return;
  // A song that could not be read (or whose output failed) never starts: there is no end to wait for.
  const bool neverStarted = program_->FirstPaintDone() && !program_->Session().Player().SongStarted();
  if (state.PlayStatus != kStatusEnded && !neverStarted) return;
  ended_ = true;
  // As a key press would, from the event loop: not from inside the tick that ended the song.
  MainWindow* main = &program_->Windows().Main();
  QTimer::singleShot(0, main, [main] { main->End(); });
}

}  // namespace sonvela
