#include "app/device_dialogs.h"

#include "app/control_style.h"
#include "app/screen_text.h"

namespace sonvela {

namespace {

// 150 x 100 dialog units of the system font; the list 130 units wide at (10, 10).
constexpr QSize kDialogSize(225, 163);
constexpr QRect kListRect(15, 16, 195, 22);
constexpr int kOpenListRows = 8;

}  // namespace

DeviceDialog::DeviceDialog(const QString& title, const std::vector<std::string>& entries)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                           Qt::WindowCloseButtonHint),
      entries_(new QComboBox(this)) {
  setWindowTitle(title);
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setFont(ControlFont());
  resize(kDialogSize);
  entries_->setGeometry(kListRect);
  entries_->setMaxVisibleItems(kOpenListRows);
  for (const std::string& entry : entries) entries_->addItem(ScreenText(entry));
  if (entries_->count() > 0) entries_->setCurrentIndex(0);
  connect(entries_, &QComboBox::activated, this, [this, entries](int index) {
    if (index < 0 || static_cast<size_t>(index) >= entries.size()) return;
    const std::string entry = entries[static_cast<size_t>(index)];
    close();
    emit EntryChosen(entry);
  });
}

OutputSwitch::OutputSwitch(MidiOutDevices& devices, MidiOut& midi, Logs& logs, MessageBoxes& messages)
    : devices_(devices), midi_(midi), logs_(logs), messages_(messages) {
  pause_.setSingleShot(true);
  QObject::connect(&pause_, &QTimer::timeout, [this] { Finish(); });
}

void OutputSwitch::Choose(const std::string& entry) {
  // A new choice during the pause replaces the one waiting (its output is closed already).
  pause_.stop();
  entry_ = entry;
  if (CloseMidiOutForSwitch(midi_, logs_)) {
    pause_.start(pauseMs_);
  } else {
    Finish();
  }
}

void OutputSwitch::Finish() {
  OpenChosenMidiOut(devices_, midi_, logs_, messages_, entry_);
  if (onSwitched) onSwitched();
}

}  // namespace sonvela
