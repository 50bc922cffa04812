#pragma once
// SONVELA_QUIT_AT_END: the program ends by itself, as Escape ends it, once the song it plays has ended (or
// its Intro has run out, or it could not be read or played at all) with Continuo off, so that a script or a
// benchmark can play a song and wait for the program to end. The program's timer ticks pass through here on
// their way to it; after each one the transport is looked at.

#include <functional>
#include <memory>

#include "player/tick_timers.h"

namespace sonvela {

class Sonvela;
struct ProgramParts;

inline constexpr char kQuitAtEndVariable[] = "SONVELA_QUIT_AT_END";

class QuitAtEnd : public TickSink {
 public:
  // The variable is set and not empty.
  static bool Asked();

  // The program's own timers, delivering through here: for ProgramParts::makeTimers.
  void Into(ProgramParts& parts);
  // Once the program exists: the program whose ticks these are and whose end is looked for.
  void Watch(Sonvela& program) { program_ = &program; }

  void OnTimerTick(int slot) override;

 private:
  Sonvela* program_ = nullptr;
  bool ended_ = false;  // the end seen; the window is ending
};

}  // namespace sonvela
