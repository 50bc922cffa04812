#include "platform/queued_midi_in_shower.h"

#include <utility>

namespace sonvela {

QueuedMidiInShower::QueuedMidiInShower(MidiInShower& uiShower)
    : uiShower_(uiShower), queue_(UiThreadQueue<Call>::Make([this](Call& call) { Show(call); })) {}

QueuedMidiInShower::~QueuedMidiInShower() {
  queue_->Close();
}

void QueuedMidiInShower::PaintInputKey(int key, int64_t colour) {
  queue_->Post({Call::Kind::kKey, key, colour, {}});
}

void QueuedMidiInShower::ShowInputProgram(int program) {
  queue_->Post({Call::Kind::kProgram, program, 0, {}});
}

void QueuedMidiInShower::ShowMonitorLine(std::string line) {
  queue_->Post({Call::Kind::kLine, 0, 0, std::move(line)});
}

void QueuedMidiInShower::Show(Call& call) {
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

}  // namespace sonvela
