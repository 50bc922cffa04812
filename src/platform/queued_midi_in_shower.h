#pragma once
// The MIDI input's shower for the input thread: every call is queued, in order, for a shower that runs on
// the UI thread (the thread that makes this object), woken through that thread's Qt event loop. The window
// gives it its own MidiInShower, which draws.
//
// The calls wait in a queue of our own under a mutex, and the input thread only wakes the UI thread through
// an eventfd: nothing allocated on the input thread travels through Qt's event queue, and a burst of input
// costs one wake-up.

#include <QSocketNotifier>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "devices/midi_in_shower.h"

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
  void Queue(Call call);
  // On the UI thread when woken: everything queued so far, in order.
  void ShowQueued();

  MidiInShower& uiShower_;
  std::mutex mutex_;
  std::vector<Call> queued_;   // guarded by mutex_
  std::vector<Call> showing_;  // UI thread: an empty queue with room, swapped in for the next batch
  int wakeFd_;
  std::unique_ptr<QSocketNotifier> wake_;
};

}  // namespace sonvela
