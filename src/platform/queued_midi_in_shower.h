#pragma once
// The MIDI input's shower for the input thread: every call is queued, in order, for a shower that runs on
// the UI thread (the thread that makes this object), as UiThreadQueue brings it there. The window gives it
// its own MidiInShower, which draws.

#include <cstdint>
#include <memory>
#include <string>

#include "devices/midi_in_shower.h"
#include "platform/ui_thread_queue.h"

namespace sonvela {

class QueuedMidiInShower : public MidiInShower {
 public:
  // On the UI thread. `uiShower` is called on this thread only and must outlive this object. This object
  // must outlive the open input (close the input first); calls still queued when it goes are dropped.
  explicit QueuedMidiInShower(MidiInShower& uiShower);
  ~QueuedMidiInShower() override;
  QueuedMidiInShower(const QueuedMidiInShower&) = delete;
  QueuedMidiInShower& operator=(const QueuedMidiInShower&) = delete;

  // From any thread: queue the call and return.
  void PaintInputKey(int key, int64_t colour) override;
  void ShowInputProgram(int program) override;
  void ShowMonitorLine(std::string line) override;

 private:
  struct Call {
    enum class Kind { kKey, kProgram, kLine } kind;
    int number = 0;  // key or program
    int64_t colour = 0;
    std::string line;
  };
  void Show(Call& call);

  MidiInShower& uiShower_;
  std::shared_ptr<UiThreadQueue<Call>> queue_;
};

}  // namespace sonvela
