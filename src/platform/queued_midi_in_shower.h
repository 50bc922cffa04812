#pragma once
// The MIDI input's shower for the input thread: every call is queued, in order, to a shower that runs on
// the UI thread (the thread that makes this object) through that thread's Qt event loop. The window gives
// it its own MidiInShower, which draws.

#include <QObject>

#include <cstdint>
#include <string>

#include "devices/midi_in_shower.h"

namespace sonvela {

class QueuedMidiInShower : public MidiInShower {
 public:
  // `uiShower` is called on this object's thread only and must outlive it. This object must outlive the
  // open input (close the input first); calls still queued when it goes are dropped.
  explicit QueuedMidiInShower(MidiInShower& uiShower) : uiShower_(uiShower) {}

  void PaintInputKey(int key, int64_t colour) override;
  void ShowInputProgram(int program) override;
  void ShowMonitorLine(std::string line) override;

 private:
  MidiInShower& uiShower_;
  // The queued calls' receiver: it belongs to the UI thread, and Qt drops its pending calls with it.
  QObject receiver_;
};

}  // namespace sonvela
