#pragma once
// "Note test": a test note on every channel in turn, each keyboard lit while its note sounds. Channel by
// channel, 200 ms apart: light key 49 of the channel's keyboard, set the channel to the church organ, sound
// note 48; at the next step let the note go and show the keyboard at rest again. The steps are timed, so
// the window keeps answering the 3.2 s the test takes.

#include <QObject>

#include "app/step_timer.h"
#include "player/midi_out.h"
#include "player/screen.h"

namespace sonvela {

class NoteTest : public QObject {
  Q_OBJECT

 public:
  static constexpr int kStepMs = 200;
  static constexpr int kTestKey = 49;      // note 48
  static constexpr int kTestProgram = 19;  // "20 Church Organ"

  // All three must outlive this object; the timer is used by it alone.
  NoteTest(MidiOut& midi, Screen& screen, StepTimer& timer);
  // A test still running is stopped.
  ~NoteTest() override;
  NoteTest(const NoteTest&) = delete;
  NoteTest& operator=(const NoteTest&) = delete;

  // The "Note test" button. A press while a test runs is ignored.
  void Start();
  bool Running() const { return channel_ >= 0; }
  // Ends a running test at once (the window is closing): the sounding note is let go and its keyboard
  // shown at rest. Finished is not emitted.
  void Stop();

 signals:
  // The last note has been let go.
  void Finished();

 private:
  void Step();
  void Sound(int channelIndex);
  void LetGo(int channelIndex);

  MidiOut& midi_;
  Screen& screen_;
  StepTimer& timer_;
  int channel_ = -1;  // index 0..15 of the channel whose note sounds; -1 while no test runs
};

}  // namespace sonvela
