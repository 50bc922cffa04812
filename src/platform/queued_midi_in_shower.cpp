#include "platform/queued_midi_in_shower.h"

#include <utility>

namespace sonvela {

void QueuedMidiInShower::PaintInputKey(int key, int64_t colour) {
  QMetaObject::invokeMethod(
      &receiver_, [&ui = uiShower_, key, colour] { ui.PaintInputKey(key, colour); }, Qt::QueuedConnection);
}

void QueuedMidiInShower::ShowInputProgram(int program) {
  QMetaObject::invokeMethod(
      &receiver_, [&ui = uiShower_, program] { ui.ShowInputProgram(program); }, Qt::QueuedConnection);
}

void QueuedMidiInShower::ShowMonitorLine(std::string line) {
  QMetaObject::invokeMethod(
      &receiver_,
      [&ui = uiShower_, line = std::move(line)]() mutable { ui.ShowMonitorLine(std::move(line)); },
      Qt::QueuedConnection);
}

}  // namespace sonvela
