#include "app/midi_in_window.h"

#include <QSignalBlocker>

#include <string>
#include <utility>

#include "app/screen_text.h"
#include "player/instrument_names.h"

namespace sonvela {

void MidiInWindowShower::PaintInputKey(int key, int64_t colour) {
  ports_.screen.PaintBigKeyboard(key, colour);
}

void MidiInWindowShower::ShowInputProgram(int program) {
  ports_.windows.KeyboardWindow().setWindowTitle(ScreenText(InstrumentNames(program)));
  // Only shown: a choice in the list would send the program to the big keyboard's channel.
  if (QComboBox* list = ports_.windows.InstrumentList()) {
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(program);
  }
}

void MidiInWindowShower::ShowMonitorLine(std::string line) {
  if (!ports_.monitorOn || !ports_.monitorOn()) return;
  MessageLog(ports_.logs, line);
  if (ports_.logsWritten) ports_.logsWritten();
}

MidiInWindow::MidiInWindow(MidiInWindowPorts ports)
    : ports_(std::move(ports)), uiShower_(ports_), queued_(uiShower_) {}

MidiInWindow::~MidiInWindow() {
  Close();
}

MidiInContext MidiInWindow::Context() {
  return {devices_, ports_.port, ports_.midi, queued_, ports_.messages};
}

void MidiInWindow::OpenAtStart() {
  if (closed_) return;
  OpenMidiInputAtStart(Context());
}

void MidiInWindow::ShowMidiInDialog() {
  if (closed_) return;
  const int count = FillMidiInNames(devices_, ports_.port);
  QStringList entries;
  for (int device = 0; device < count; ++device) {
    entries.push_back(ScreenText(devices_.MidiInNames[static_cast<size_t>(device)]));
  }
  if (!dialog_) {
    dialog_ = std::make_unique<MidiInDialog>();
    QObject::connect(dialog_.get(), &MidiInDialog::EntryChosen, dialog_.get(),
                     [this](int index) { Choose(index); });
  }
  dialog_->ShowEntries(entries);
}

void MidiInWindow::Choose(int index) {
  if (closed_ || index < 0 || index >= kMaxListedMidiIns) return;
  // A copy: the message box below runs the event loop, and a new dialog may refill the entries meanwhile.
  const std::string entry = devices_.MidiInNames[static_cast<size_t>(index)];
  if (entry.empty()) return;
  dialog_->hide();
  ChooseMidiInEntry(Context(), entry);
  // The program may have begun to shut down while the message was on screen.
  if (closed_) CloseMidiInput(Context());
}

void MidiInWindow::Close() {
  closed_ = true;
  CloseMidiInput(Context());
  if (dialog_) dialog_->hide();
}

}  // namespace sonvela
