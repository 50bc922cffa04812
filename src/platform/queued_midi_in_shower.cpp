#include "platform/queued_midi_in_shower.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <utility>

namespace sonvela {

QueuedMidiInShower::QueuedMidiInShower(MidiInShower& uiShower)
    : uiShower_(uiShower), wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (wakeFd_ < 0) return;  // out of descriptors: the input shows nothing, the thru still works
  wake_ = std::make_unique<QSocketNotifier>(wakeFd_, QSocketNotifier::Read);
  QObject::connect(wake_.get(), &QSocketNotifier::activated, wake_.get(), [this] { ShowQueued(); });
}

QueuedMidiInShower::~QueuedMidiInShower() {
  wake_.reset();
  if (wakeFd_ >= 0) close(wakeFd_);
}

void QueuedMidiInShower::PaintInputKey(int key, int64_t colour) {
  Queue({Call::Kind::kKey, key, colour, {}});
}

void QueuedMidiInShower::ShowInputProgram(int program) {
  Queue({Call::Kind::kProgram, program, 0, {}});
}

void QueuedMidiInShower::ShowMonitorLine(std::string line) {
  Queue({Call::Kind::kLine, 0, 0, std::move(line)});
}

void QueuedMidiInShower::Queue(Call call) {
  if (wakeFd_ < 0) return;
  bool wasEmpty = false;
  {
    std::lock_guard lock(mutex_);
    wasEmpty = queued_.empty();
    queued_.push_back(std::move(call));
  }
  // One wake-up per batch: the UI thread takes everything queued when it wakes.
  if (wasEmpty) {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(wakeFd_, &one, sizeof one);
  }
}

void QueuedMidiInShower::ShowQueued() {
  // Reset the wake-up before taking the queue, so a call queued after the swap wakes us again.
  uint64_t count = 0;
  [[maybe_unused]] const ssize_t read = ::read(wakeFd_, &count, sizeof count);
  std::vector<Call> batch;
  batch.swap(showing_);
  {
    std::lock_guard lock(mutex_);
    queued_.swap(batch);
  }
  // A show that runs a nested event loop may come back here: the batch is this call's own.
  for (Call& call : batch) {
    switch (call.kind) {
      case Call::Kind::kKey:
        uiShower_.PaintInputKey(call.number, call.colour);
        break;
      case Call::Kind::kProgram:
        uiShower_.ShowInputProgram(call.number);
        break;
      case Call::Kind::kLine:
        uiShower_.ShowMonitorLine(std::move(call.line));
        break;
    }
  }
  batch.clear();
  showing_.swap(batch);  // its room serves the next batch
}

}  // namespace sonvela
